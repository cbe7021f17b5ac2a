// Bitmap files read ahead on workers while the main thread starts the toolkit and takes them; run under
// ThreadSanitizer too. Each file taken gives what loading it gives, its pixels or its error, once.
#include "platform/bitmap.h"
#include "platform/bitmap_read_ahead.h"
#include "platform/disc_file.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace kelvox {
namespace {

// Three by two pixels, bottom-up, uncompressed: 24 bits is the form decoded by a row copy, 32 bits one
// left to the toolkit's general reader.
QByteArray bitmap_file(int bits, quint8 shade) {
    const int width = 3, height = 2, row = (width * bits / 8 + 3) / 4 * 4;
    QByteArray file(54 + row * height, '\0');
    auto put = [&file](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + i] = char(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, quint32(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, quint32(bits), 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int channel = 0; channel < 3; ++channel)
                file[54 + y * row + x * bits / 8 + channel] = char(shade + 40 * x + 90 * y + 7 * channel);
    return file;
}

struct Outcome {
    std::optional<QImage> pixels;
    QString error;
    bool disc_error = false;
};

template <typename Load> Outcome outcome_of(Load&& load) {
    Outcome outcome;
    try {
        Bitmap bitmap;
        if (!load(bitmap))
            return outcome;
        outcome.pixels = bitmap.QtImage();
    } catch (const DiscFileError& error) {
        outcome.error = error.message();
        outcome.disc_error = true;
    } catch (const PlatformError& error) {
        outcome.error = error.message();
    }
    return outcome;
}

TEST(BitmapReadAhead, EachFileTakenGivesWhatLoadingItGivesOnce) {
    QTemporaryDir disc;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(disc.isValid() && elsewhere.isValid());
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    ASSERT_TRUE(write(disc.filePath(QStringLiteral("plain.bmp")), bitmap_file(24, 10)));
    ASSERT_TRUE(write(disc.filePath(QStringLiteral("wide.bmp")), bitmap_file(32, 60)));
    ASSERT_TRUE(write(disc.filePath(QStringLiteral("cut.bmp")), bitmap_file(24, 10).left(60)));
    ASSERT_TRUE(write(elsewhere.filePath(QStringLiteral("outside.bmp")), bitmap_file(24, 99)));
    ASSERT_TRUE(QFile::link(elsewhere.filePath(QStringLiteral("outside.bmp")),
                            disc.filePath(QStringLiteral("out.bmp"))));
    QStringList files;
    for (const char* name : {"plain.bmp", "missing.bmp", "wide.bmp", "cut.bmp", "out.bmp"})
        files << disc.filePath(QString::fromLatin1(name));

    // As the program does it: the workers begin before the toolkit's application exists.
    BitmapReadAhead ahead(disc.path(), files, 2);
    static int argc = 1;
    static char name[] = "bitmap_read_ahead_test";
    static char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    EXPECT_EQ(application.thread(), QThread::currentThread())
        << "the toolkit took a worker for its main thread";
    const DiscRoot root(disc.path());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const Outcome taken = outcome_of([&](Bitmap& bitmap) { return ahead.Take(file, bitmap); });
        const Outcome loaded = outcome_of([&](Bitmap& bitmap) {
            bitmap.LoadFromFile(file);
            return true;
        });
        EXPECT_EQ(taken.pixels.has_value(), loaded.pixels.has_value());
        if (taken.pixels && loaded.pixels) {
            EXPECT_EQ(*taken.pixels, *loaded.pixels);
        }
        EXPECT_EQ(taken.error, loaded.error);
        EXPECT_EQ(taken.disc_error, loaded.disc_error);
        const Outcome again = outcome_of([&](Bitmap& bitmap) { return ahead.Take(file, bitmap); });
        EXPECT_TRUE(!again.pixels && again.error.isEmpty()) << "taken a second time";
    }
    Bitmap untouched;
    EXPECT_FALSE(ahead.Take(disc.filePath(QStringLiteral("never-asked.bmp")), untouched));
    EXPECT_TRUE(untouched.Empty());
}

} // namespace
} // namespace kelvox
