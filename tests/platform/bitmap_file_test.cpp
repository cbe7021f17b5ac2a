// Loading .bmp files by the disc's names: the pixels, and the two error texts.
#include "platform/bitmap.h"
#include "platform/platform_error.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/disc_fixture.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QtEndian>

#include <vector>

namespace kelvox {
namespace {

class BitmapFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qt_application();
        QDir::setCurrent(disc.root());
    }
    QString error_of(const QString& name) {
        Bitmap bitmap(2, 2);
        try {
            bitmap.LoadFromFile(name);
        } catch (const PlatformError& error) {
            EXPECT_EQ(bitmap.Width(), 2) << "a failed load changed the bitmap";
            return error.message();
        }
        return QStringLiteral("(loaded)");
    }
    test::DiscFixture disc;
};

TEST_F(BitmapFileTest, LoadsEveryPixelOfAPaddedBottomUpFile) {
    // Width 3: each row carries three bytes of padding, which must not shift the next row.
    const auto colour_at = [](int x, int y) { return make_colour(10 + x, 20 + y, 30 + x * y); };
    disc.write("menu/pasek.bmp", test::bmp24(3, 2, colour_at));
    Bitmap bitmap;
    bitmap.LoadFromFile(QStringLiteral("menu\\pasek.bmp"));
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bitmap.Canvas().PixelAt(x, y), colour_at(x, y)) << x << "," << y;
}

// Skins are decoded by a row copy of their own; the toolkit's reader is the reference for what it gives.
TEST_F(BitmapFileTest, ReadsTopDownFilesAndPixelsAfterAGapAsTheGeneralReaderDoes) {
    const auto colour_at = [](int x, int y) { return make_colour(200 - x, 7 * y, x * y); };
    const QByteArray bottom_up = test::bmp24(5, 3, colour_at);
    const qsizetype row = 16;
    QByteArray top_down = bottom_up.left(54);
    for (int y = 2; y >= 0; --y)
        top_down += bottom_up.mid(54 + y * row, row);
    qToLittleEndian<qint32>(-3, top_down.data() + 22);
    QByteArray gap = bottom_up.left(54) + QByteArray(6, '\x7f') + bottom_up.mid(54);
    qToLittleEndian<quint32>(60, gap.data() + 10);
    for (const QByteArray& data : {top_down, gap}) {
        disc.write("menu/forma.bmp", data);
        Bitmap bitmap;
        bitmap.LoadFromFile(QStringLiteral("menu\\forma.bmp"));
        const QImage reference = QImage::fromData(data, "BMP");
        ASSERT_EQ(reference.size(), QSize(5, 3));
        ASSERT_EQ(bitmap.Width(), 5);
        ASSERT_EQ(bitmap.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const QRgb pixel = reference.pixel(x, y);
                EXPECT_EQ(bitmap.Canvas().PixelAt(x, y),
                          make_colour(qRed(pixel), qGreen(pixel), qBlue(pixel)));
                EXPECT_EQ(bitmap.Canvas().PixelAt(x, y), colour_at(x, y)) << x << "," << y;
            }
    }
}

// A file's two headers (the 40-byte form) over `body`, which holds what follows them.
QByteArray with_headers(int width, int height, int bits, quint32 compression, quint32 pixels_at,
                        QByteArray body) {
    QByteArray data = QByteArray(54, '\0') + body;
    char* at = data.data();
    at[0] = 'B';
    at[1] = 'M';
    qToLittleEndian<quint32>(quint32(data.size()), at + 2);
    qToLittleEndian<quint32>(pixels_at, at + 10);
    qToLittleEndian<quint32>(40, at + 14);
    qToLittleEndian<qint32>(width, at + 18);
    qToLittleEndian<qint32>(height, at + 22);
    qToLittleEndian<quint16>(1, at + 26);
    qToLittleEndian<quint16>(quint16(bits), at + 28);
    qToLittleEndian<quint32>(compression, at + 30);
    return data;
}

// A 16-bit file of one row: 5-5-5 without masks, or with the three masks after the header.
QByteArray bmp16(const std::vector<quint16>& row, const std::vector<quint32>& masks = {}) {
    QByteArray body(int(4 * masks.size() + (row.size() * 2 + 3) / 4 * 4), '\0');
    for (size_t i = 0; i < masks.size(); ++i)
        qToLittleEndian<quint32>(masks[i], body.data() + 4 * i);
    for (size_t x = 0; x < row.size(); ++x)
        qToLittleEndian<quint16>(row[x], body.data() + 4 * masks.size() + 2 * x);
    return with_headers(int(row.size()), 1, 16, masks.empty() ? 0 : 3, 54 + 4 * quint32(masks.size()), body);
}

// Channels of 5 and 6 bits are widened by repeating their bits: white stays the white a skin's image
// lists cut away, and black stays black.
TEST_F(BitmapFileTest, WidensSixteenBitChannelsToTheirFullRange) {
    struct Case {
        const char* name;
        QByteArray data;
        Colour expected[3];
    } cases[] = {
        {"5-6-5",
         bmp16({0xFFFF, 0x0000, 0x8410}, {0xF800, 0x07E0, 0x001F}),
         {0xFFFFFF, 0x000000, make_colour(0x84, 0x82, 0x84)}},
        {"5-5-5", bmp16({0x7FFF, 0x0000, 0x4201}), {0xFFFFFF, 0x000000, make_colour(0x84, 0x84, 0x08)}},
    };
    for (const Case& c : cases) {
        disc.write("menu/szesnascie.bmp", c.data);
        Bitmap bitmap;
        bitmap.LoadFromFile(QStringLiteral("menu\\szesnascie.bmp"));
        ASSERT_EQ(bitmap.Width(), 3) << c.name;
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(bitmap.Canvas().PixelAt(x, 0), c.expected[x]) << c.name << " pixel " << x;
    }
}

// A run-length coded file, 4 × 2, whose palette's entry i is grey i * 16; image size 0, as some writers
// leave it.
QByteArray bmp_rle(bool eight_bits, const QByteArray& codes) {
    QByteArray palette;
    for (int i = 0; i < 16; ++i)
        palette += QByteArray(3, char(i * 16)) + '\0';
    QByteArray data = with_headers(4, 2, eight_bits ? 8 : 4, eight_bits ? 1 : 2, 54 + quint32(palette.size()),
                                   palette + codes);
    qToLittleEndian<quint32>(16, data.data() + 46);
    return data;
}

// Codes that set every pixel draw; codes that end early, skip pixels or run past a row would leave
// pixels as the memory held them, and are refused as a file cut short is.
TEST_F(BitmapFileTest, RunLengthCodesMustSetEveryPixel) {
    // Bottom row first: a run of four 1s; then 2, 3, 4 as they stand and a run of one 4.
    const QByteArray rows8("\x04\x01\x00\x00\x00\x03\x02\x03\x04\x00\x01\x04\x00\x00\x00\x01", 16);
    const QByteArray rows4("\x04\x11\x00\x00\x00\x03\x23\x40\x01\x44\x00\x00\x00\x01", 14);
    for (const QByteArray& data : {bmp_rle(true, rows8), bmp_rle(false, rows4)}) {
        disc.write("menu/rle.bmp", data);
        Bitmap bitmap;
        bitmap.LoadFromFile(QStringLiteral("menu\\rle.bmp"));
        const int expected[2][4] = {{2, 3, 4, 4}, {1, 1, 1, 1}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(bitmap.Canvas().PixelAt(x, y),
                          make_colour(expected[y][x] * 16, expected[y][x] * 16, expected[y][x] * 16))
                    << x << "," << y;
    }
    const QByteArray refused[] = {
        rows8.left(6),                                              // cut after the first row
        QByteArray("\x04\x01\x00\x01", 4),                          // the picture ends after one row
        QByteArray("\x04\x01\x00\x00\x00\x02\x02\x01\x00\x01", 10), // a move over the second row
        QByteArray("\x05\x01\x00\x00\x04\x01\x00\x01", 8),          // a run past the row's end
    };
    for (const QByteArray& codes : refused) {
        disc.write("menu/rle.bmp", bmp_rle(true, codes));
        EXPECT_EQ(error_of(QStringLiteral("menu\\rle.bmp")), QStringLiteral("Bitmap image is not valid"))
            << codes.toHex().constData();
    }
}

TEST_F(BitmapFileTest, FindsTheFileWhateverTheCaseOfItsName) {
    disc.write("MENU/Dol.BMP", test::bmp24(24, 16, 0x123456));
    Bitmap bitmap;
    bitmap.LoadFromFile(QStringLiteral("menu\\dol.bmp"));
    EXPECT_EQ(bitmap.Width(), 24);
    EXPECT_EQ(bitmap.Canvas().PixelAt(23, 15), 0x123456u);
}

TEST_F(BitmapFileTest, ReportsFilesItCannotOpenOrRead) {
    disc.make_directory("menu/katalog.bmp");
    disc.write("menu/tekst.bmp", "to nie jest obrazek");
    disc.write("menu/pusty.bmp", "");
    QByteArray truncated = test::bmp24(40, 40, 0x00FF00);
    truncated.truncate(30);
    disc.write("menu/uciety.bmp", truncated);
    // Headers whole, pixel rows cut halfway: Qt's reader would make the rest black.
    const QByteArray whole = test::bmp24(40, 40, 0x00FF00);
    disc.write("menu/polowa.bmp", whole.left(whole.size() / 2));
    disc.write("menu/bez_bajtu.bmp", whole.left(whole.size() - 1));
    disc.write("menu/png.bmp", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\0'));
    struct Case {
        const char* name;
        const char* error;
    } cases[] = {
        {"menu\\brak.bmp", "Cannot open file menu\\brak.bmp"},
        {"menu\\katalog.bmp", "Cannot open file menu\\katalog.bmp"},
        {"nie\\ma\\takiego\\katalogu.bmp", "Cannot open file nie\\ma\\takiego\\katalogu.bmp"},
        {"menu\\tekst.bmp", "Bitmap image is not valid"},
        {"menu\\pusty.bmp", "Bitmap image is not valid"},
        {"menu\\uciety.bmp", "Bitmap image is not valid"},
        {"menu\\polowa.bmp", "Bitmap image is not valid"},
        {"menu\\bez_bajtu.bmp", "Bitmap image is not valid"},
        {"menu\\png.bmp", "Bitmap image is not valid"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(error_of(QString::fromUtf8(c.name)), QString::fromUtf8(c.error)) << c.name;
}

} // namespace
} // namespace kelvox
