#include "platform/files.h"
#include "platform/jpeg_picture.h"
#include "platform/platform_error.h"

#include "tests/support/disc_fixture.h"
#include "tests/support/jpeg_writer.h"

#include <QDir>
#include <QPainter>

#include <cstdlib>
#include <gtest/gtest.h>

namespace kelvox {
namespace {

using test::DiscFixture;

// Four quadrants of plain colours, so the decoded pixels can be told apart after compression.
QImage quadrants(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(255, 0, 0));
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(0, 255, 0));
    painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(0, 0, 255));
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(255, 255, 255));
    return picture;
}

bool near(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 12 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 12 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 12;
}

std::string error_text(const std::function<void()>& action) {
    try {
        action();
    } catch (const PlatformError& error) {
        return error.message().toStdString();
    }
    return "(no error)";
}

TEST(JpegDecoding, GivesAPictureOfItsOwnSizeAndColours) {
    const struct {
        int width;
        int height;
    } sizes[] = {{64, 48}, {1, 1}, {33, 17}, {320, 240}};
    for (const auto& size : sizes) {
        const QImage picture = decode_jpeg(test::rgb_jpeg(quadrants(size.width, size.height)));
        ASSERT_EQ(picture.size(), QSize(size.width, size.height));
        EXPECT_EQ(picture.format(), QImage::Format_RGB32);
        if (size.width >= 32) {
            EXPECT_TRUE(near(picture.pixel(4, 4), qRgb(255, 0, 0)));
            EXPECT_TRUE(near(picture.pixel(size.width - 4, 4), qRgb(0, 255, 0)));
            EXPECT_TRUE(near(picture.pixel(4, size.height - 4), qRgb(0, 0, 255)));
            EXPECT_TRUE(near(picture.pixel(size.width - 4, size.height - 4), qRgb(255, 255, 255)));
        }
    }
}

TEST(JpegDecoding, GreyPicturesComeOutAsRgb) {
    std::vector<unsigned char> samples(16 * 8, 200);
    const QImage picture = decode_jpeg(test::compress_jpeg(16, 8, JCS_GRAYSCALE, 1, samples));
    ASSERT_EQ(picture.size(), QSize(16, 8));
    EXPECT_TRUE(near(picture.pixel(3, 3), qRgb(200, 200, 200)));
}

TEST(JpegDecoding, BadDataIsAnErrorNotACrash) {
    const QByteArray good = test::rgb_jpeg(quadrants(40, 30));
    QByteArray scrambled_header = good;
    for (int i = 20; i < 200 && i < scrambled_header.size(); ++i)
        scrambled_header[i] = char(0xFF - i);
    const struct {
        const char* what;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"empty", QByteArray(), "empty file"},
        {"not a JPEG", QByteArray("BM this is a bitmap, not a picture"), "Not a JPEG file"},
        {"start of image only", QByteArray("\xFF\xD8", 2), ""},
        {"CMYK", test::cmyk_jpeg(16, 16), "Unsupported color conversion request"},
        {"scrambled header", scrambled_header, ""},
    };
    for (const auto& c : cases) {
        const std::string text = error_text([&] { decode_jpeg(c.bytes); });
        EXPECT_EQ(text.rfind("JPEG image is not valid: ", 0), 0u) << c.what << ": " << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << c.what << ": " << text;
    }
}

TEST(JpegDecoding, ProgressivePicturesOfAtMost500ScansDecode) {
    const struct {
        int scans;
        bool decodes;
    } cases[] = {{11, true}, {500, true}, {501, false}, {704, false}};
    for (const auto& c : cases) {
        const QByteArray bytes = test::grey_jpeg_in_scans(16, 16, c.scans);
        const std::string text = error_text([&] { EXPECT_EQ(decode_jpeg(bytes).size(), QSize(16, 16)); });
        EXPECT_EQ(text, c.decodes ? "(no error)" : "JPEG image is not valid: more than 500 scans") << c.scans;
    }
}

TEST(JpegDecoding, TruncatedPictureKeepsItsSize) {
    // Noise makes the scan data the bulk of the file, so the cut falls inside it.
    QImage noisy = quadrants(128, 128);
    for (int y = 64; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (x * y) & 0xFF, (x ^ y) * 2 & 0xFF));
    const QByteArray good = test::rgb_jpeg(noisy);
    QString warning = "?";
    decode_jpeg(good, &warning);
    EXPECT_EQ(warning, "") << "a whole picture decodes without a warning";
    const QImage picture = decode_jpeg(good.left(good.size() * 2 / 3), &warning);
    EXPECT_EQ(picture.size(), QSize(128, 128));
    EXPECT_TRUE(near(picture.pixel(4, 4), qRgb(255, 0, 0)));
    EXPECT_TRUE(warning.contains("Premature end of JPEG file")) << warning.toStdString();
}

TEST(JpegDecoding, FilesAreNamedByDiscPaths) {
    DiscFixture disc;
    disc.write("Gry/Demo1/Shot1.JPG", test::rgb_jpeg(quadrants(20, 10)));
    disc.write("Gry/Demo1/zly.jpg", "garbage");
    ASSERT_TRUE(QDir::setCurrent(disc.root()));

    JpegPicture picture;
    picture.load_from_file(disc.root() + "\\gry\\demo1\\shot1.jpg");
    EXPECT_EQ(picture.width(), 20);
    EXPECT_EQ(picture.height(), 10);

    EXPECT_EQ(error_text([&] { picture.load_from_file("gry\\demo1\\brak.jpg"); }),
              "Cannot open file gry\\demo1\\brak.jpg");
    EXPECT_NE(
        error_text([&] { picture.load_from_file("gry\\demo1\\zly.jpg"); }).find("JPEG image is not valid"),
        std::string::npos);
    // A failed load leaves the last picture in place.
    EXPECT_EQ(picture.width(), 20);
    EXPECT_FALSE(picture.empty());
}

} // namespace
} // namespace kelvox
