// The two scripts the disc's build runs: the ticker font must answer to the face the menu asks for, as
// its plain style, and the music must be a short MP3 the player can loop.
#include "tests/demo/gui_application.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kelvox {
namespace {

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return false;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << ": " << process.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

TEST(DemoScripts, TickerFontAnswersToTheSkinsFaceAsAPlainStyle) {
    if (!QFileInfo::exists(KELVOX_DEMO_FONT_SOURCE))
        GTEST_SKIP() << "no source font";
    test::ensure_gui_application();
    QTemporaryDir dir;
    const QString font = dir.path() + "/Digirt__.ttf";
    ASSERT_TRUE(
        run(KELVOX_DEMO_PYTHON, {KELVOX_DEMO_TOOL_DIR "/rename_font.py", KELVOX_DEMO_FONT_SOURCE, font}));
    const int id = QFontDatabase::addApplicationFont(font);
    ASSERT_GE(id, 0);
    EXPECT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{"Digital Readout Thick"});
    EXPECT_FALSE(QFontDatabase::bold("Digital Readout Thick", "Regular"));
    EXPECT_FALSE(QFontDatabase::italic("Digital Readout Thick", "Regular"));
    QFontDatabase::removeApplicationFont(id);
}

// Walks the MPEG-1 layer III frames and adds up their play time.
double mp3_seconds(const QByteArray& bytes) {
    static const int kbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int rates[] = {44100, 48000, 32000, 0};
    qsizetype at = 0;
    if (bytes.startsWith("ID3") && bytes.size() > 10)
        at = 10 +
             ((bytes[6] & 0x7F) << 21 | (bytes[7] & 0x7F) << 14 | (bytes[8] & 0x7F) << 7 | (bytes[9] & 0x7F));
    int frames = 0, rate = 0;
    while (at + 4 <= bytes.size()) {
        const auto b = [&](int i) { return static_cast<unsigned char>(bytes[at + i]); };
        if (b(0) != 0xFF || (b(1) & 0xFE) != 0xFA)
            break;
        const int bitrate = kbps[b(2) >> 4] * 1000;
        rate = rates[(b(2) >> 2) & 3];
        if (bitrate == 0 || rate == 0)
            break;
        at += 144 * bitrate / rate + ((b(2) >> 1) & 1);
        ++frames;
    }
    return rate == 0 ? 0 : frames * 1152.0 / rate;
}

TEST(DemoScripts, MusicIsAShortMp3) {
    if (QStandardPaths::findExecutable("sox").isEmpty() || QStandardPaths::findExecutable("lame").isEmpty())
        GTEST_SKIP() << "sox or lame missing";
    QTemporaryDir dir;
    const QString music = dir.path() + "/muzyczka.mp3";
    ASSERT_TRUE(run("sh", {KELVOX_DEMO_TOOL_DIR "/make_music.sh", music}));
    QFile file(music);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_LT(bytes.size(), 300 * 1024);
    const double seconds = mp3_seconds(bytes);
    EXPECT_GT(seconds, 4.0);
    EXPECT_LT(seconds, 12.0);
}

} // namespace
} // namespace kelvox
