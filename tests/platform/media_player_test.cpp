#include "platform/qt/qt_media_player.h"

#include "platform/qt/qt_media_backend.h"
#include "platform/qt/qt_music_module.h"
#include "tests/support/qt_event_loop.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace kelvox {
namespace {

using test::ensure_application;
using test::process_until;

class QtMediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensure_application();
        ASSERT_TRUE(dir_.isValid());
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    // A short sine tone made with sox; empty when sox is not installed.
    QString make_tone(const QString& name, const QString& seconds) const {
        if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
            return {};
        const QString file = path(name);
        QProcess sox;
        sox.start(QStringLiteral("sox"),
                  {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"), QStringLiteral("-c"),
                   QStringLiteral("1"), file, QStringLiteral("synth"), seconds, QStringLiteral("sine"),
                   QStringLiteral("440")});
        if (!sox.waitForFinished(20000) || sox.exitCode() != 0)
            return {};
        return file;
    }

    // The tone encoded as MP3 with lame; empty when either tool is missing.
    QString to_mp3(const QString& wave) const {
        if (wave.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty())
            return {};
        QString file = wave;
        file.replace(QStringLiteral(".wav"), QStringLiteral(".mp3"));
        QProcess lame;
        lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), wave, file});
        if (!lame.waitForFinished(20000) || lame.exitCode() != 0)
            return {};
        return file;
    }

    void write_file(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Opens a track that must play; skips the test when this machine's backend cannot play at all.
    void open_or_skip(MediaPlayer& player, const QString& file) {
        if (file.isEmpty())
            GTEST_SKIP() << "sox or lame is not installed: no track to play";
        try {
            player.open(file);
        } catch (const PlatformError& error) {
            GTEST_SKIP() << "Qt Multimedia with GStreamer cannot play a track here: " << error.what();
        }
    }

    QTemporaryDir dir_;
};

// The music is an MP3 file; WAV shows whether the backend plays at all when MP3 fails.
TEST_F(QtMediaPlayerTest, PlaysATrackToItsEndAndRestartsItFromTheStart) {
    const QString wave = make_tone(QStringLiteral("tone.wav"), QStringLiteral("0.4"));
    for (const QString& file : {wave, to_mp3(wave)}) {
        SCOPED_TRACE(file.toStdString());
        QtMediaPlayer player;
        open_or_skip(player, file);
        if (IsSkipped())
            return;
        EXPECT_EQ(player.mode(), MediaMode::stopped) << "a freshly opened track has not started";

        player.play();
        EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::playing; }, 5000));
        EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::stopped; }, 10000))
            << "the track never reported its end";

        player.rewind();
        player.play();
        EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::playing; }, 5000))
            << "rewind and play did not restart the ended track";
        EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::stopped; }, 10000));
    }
}

TEST_F(QtMediaPlayerTest, StopAndCloseEndPlaying) {
    QtMediaPlayer player;
    open_or_skip(player, make_tone(QStringLiteral("long.wav"), QStringLiteral("30")));
    if (IsSkipped())
        return;
    player.play();
    ASSERT_TRUE(process_until([&] { return player.mode() == MediaMode::playing; }, 5000));
    player.stop();
    EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::stopped; }, 5000));

    player.close();
    EXPECT_EQ(player.mode(), MediaMode::other);
    EXPECT_THROW(player.play(), PlatformError);
    EXPECT_THROW(player.rewind(), PlatformError);
    player.stop();
    player.close();

    // Opening again after close starts from nothing: the same file loads anew.
    player.open(path(QStringLiteral("long.wav")));
    EXPECT_EQ(player.mode(), MediaMode::stopped);
}

// The skin is named as the disc writes it: backslashes, and a case the file system may not have.
TEST_F(QtMediaPlayerTest, OpensAFileNamedAsTheDiscNamesIt) {
    QtMediaPlayer player;
    const QString file = make_tone(QStringLiteral("Disc.wav"), QStringLiteral("0.2"));
    open_or_skip(player, file);
    if (IsSkipped())
        return;
    player.close();
    const QString disc_name = QString(file)
                                  .replace(QLatin1Char('/'), QLatin1Char('\\'))
                                  .replace(QStringLiteral("Disc.wav"), QStringLiteral("DISC.WAV"));
    ASSERT_NO_THROW(player.open(disc_name));
    EXPECT_EQ(player.mode(), MediaMode::stopped);
}

// Opening waits in a local event loop, where other handlers run and may close the player.
TEST_F(QtMediaPlayerTest, AnOpenOvertakenByACloseFails) {
    QtMediaPlayer player;
    const QString file = make_tone(QStringLiteral("overtaken.wav"), QStringLiteral("0.2"));
    open_or_skip(player, file);
    if (IsSkipped())
        return;
    player.close();
    bool closed_meanwhile = false;
    QTimer::singleShot(0, [&] {
        closed_meanwhile = true;
        player.close();
    });
    EXPECT_THROW(player.open(file), PlatformError);
    if (!closed_meanwhile)
        GTEST_SKIP() << "the backend loaded the file without waiting";
    EXPECT_EQ(player.mode(), MediaMode::other) << "the close has the last word";
    EXPECT_THROW(player.play(), PlatformError);
}

TEST_F(QtMediaPlayerTest, RefusesFilesItCannotPlay) {
    ensure_application();
    write_file(QStringLiteral("garbage.mp3"), QByteArray(4096, '\x5a'));
    write_file(QStringLiteral("empty.mp3"), QByteArray());
    write_file(QStringLiteral("text.wav"), QByteArray("RIFF but not really a wave file at all"));
    struct Case {
        const char* name;
        QString file;
        QString message; // empty: any text
    };
    const Case cases[] = {
        {"missing", path(QStringLiteral("missing.mp3")),
         QStringLiteral("Cannot open file ") + path(QStringLiteral("missing.mp3"))},
        {"directory", dir_.path(), QStringLiteral("Cannot open file ") + dir_.path()},
        {"garbage", path(QStringLiteral("garbage.mp3")), {}},
        {"empty", path(QStringLiteral("empty.mp3")), {}},
        {"bad wave", path(QStringLiteral("text.wav")), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QtMediaPlayer player(std::chrono::seconds(5));
        try {
            player.open(c.file);
            ADD_FAILURE() << "open succeeded";
        } catch (const PlatformError& error) {
            if (!c.message.isEmpty()) {
                EXPECT_EQ(error.message(), c.message);
            }
        }
        EXPECT_EQ(player.mode(), MediaMode::other) << "a failed open leaves the player closed";
        EXPECT_THROW(player.play(), PlatformError);
    }
}

TEST_F(QtMediaPlayerTest, WithoutALoadableBackendOpenFailsInsteadOfEndingTheProgram) {
    EXPECT_TRUE(media_backend_available(QStringLiteral("gstreamer"))) << "installed with Qt Multimedia";
    EXPECT_TRUE(media_backend_available(QString())) << "any backend";
    EXPECT_FALSE(media_backend_available(QStringLiteral("no-such-backend")));

    // A track the backend would play, so that only the missing backend can make the open fail.
    const QString track = to_mp3(make_tone(QStringLiteral("tone.wav"), QStringLiteral("1")));
    if (track.isEmpty())
        GTEST_SKIP() << "sox or lame is missing";
    const QByteArray chosen = qgetenv("QT_MEDIA_BACKEND");
    qputenv("QT_MEDIA_BACKEND", "no-such-backend");
    QtMediaPlayer player;
    try {
        player.open(track);
        ADD_FAILURE() << "open succeeded";
    } catch (const PlatformError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot play file ")))
            << error.message().toStdString();
    }
    qputenv("QT_MEDIA_BACKEND", chosen);
    EXPECT_EQ(player.mode(), MediaMode::other);
}

// The menu's player loads the music module at the first open. Without the module it is a player that
// cannot open; with it, it plays as the module's player does.
TEST_F(QtMediaPlayerTest, TheMenusPlayerLoadsTheMusicModuleAtItsFirstOpen) {
    int loads = 0;
    MusicModulePlayer missing([&](const QString&) {
        ++loads;
        return std::unique_ptr<DynamicLibrary>();
    });
    EXPECT_EQ(loads, 0) << "nothing is loaded before the music starts";
    EXPECT_EQ(missing.mode(), MediaMode::other);
    missing.stop();
    missing.close();
    EXPECT_THROW(missing.play(), PlatformError);
    try {
        missing.open(path(QStringLiteral("tone.wav")));
        ADD_FAILURE() << "open succeeded without the module";
    } catch (const PlatformError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("libkelvox_music.so"))) << error.what();
    }
    EXPECT_EQ(loads, 1);

    MusicModulePlayer player([](const QString&) { return DynamicLibrary::load_file(KELVOX_MUSIC_MODULE); });
    try {
        player.open(path(QStringLiteral("missing.mp3")));
        ADD_FAILURE() << "a missing track opened";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot open file ") + path(QStringLiteral("missing.mp3")))
            << "the module's player said it, across the module's edge";
    }
    open_or_skip(player, make_tone(QStringLiteral("module.wav"), QStringLiteral("0.3")));
    if (IsSkipped())
        return;
    player.play();
    EXPECT_TRUE(process_until([&] { return player.mode() == MediaMode::playing; }, 5000));
    player.close();
    EXPECT_EQ(player.mode(), MediaMode::other);
}

} // namespace
} // namespace kelvox
