#include "app/music.h"

#include "tests/support/fake_media_player.h"
#include "tests/support/fake_message_boxes.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvox {
namespace {

// musictimer as the music sees it: disabled with its handler bound, as the window's design has it.
struct FakeTimer {
    bool enabled = false;
    bool has_handler = true;
    std::function<void()> handler;

    MusicTimer hooks() {
        return {[this] { enabled = true; }, [this] { enabled = false; }, [this] { has_handler = true; },
                [this] { has_handler = false; }};
    }
    bool ticking() const { return enabled && has_handler; }
    void tick() {
        if (ticking())
            handler();
    }
};

class MusicTest : public ::testing::Test {
protected:
    void start(bool sound_wanted) {
        sound = sound_wanted;
        music = std::make_unique<Music>(player, boxes, timer.hooks(), program_dir, sound, music_ready);
        timer.handler = [this] { music->musictimerTimer(); };
        music->start();
    }
    // One second of the program: the track plays on, then musictimer ticks.
    void run_seconds(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            player.advance(1);
            timer.tick();
        }
    }
    QStringList calls_since(qsizetype from) const { return player.calls.mid(from); }

    const QString program_dir = QStringLiteral("D:\\cover");
    const QString track = QStringLiteral("open D:\\cover\\menu\\muzyczka.mp3");
    FakeMediaPlayer player;
    FakeMessageBoxes boxes;
    FakeTimer timer;
    bool sound = false;
    bool music_ready = false;
    std::unique_ptr<Music> music;
};

TEST_F(MusicTest, SoundOnAtStartPlaysAtOnce) {
    start(true);
    EXPECT_EQ(player.calls, QStringList({track, QStringLiteral("play")}));
    EXPECT_TRUE(music_ready);
    EXPECT_TRUE(sound);
    EXPECT_TRUE(timer.ticking());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MusicTest, SoundOffAtStartOnlyTestsTheFileUntilSwitchedOn) {
    start(false);
    EXPECT_EQ(player.calls, QStringList({track, QStringLiteral("close")})) << "opened and closed once";
    EXPECT_TRUE(music_ready);
    EXPECT_FALSE(sound);
    EXPECT_TRUE(timer.enabled) << "silent: musictimer ticks without effect";
    EXPECT_TRUE(boxes.shown.isEmpty());

    run_seconds(5);
    EXPECT_FALSE(player.calls.contains(QStringLiteral("play")));
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::closed);

    ASSERT_TRUE(music->switch_on());
    EXPECT_TRUE(sound);
    EXPECT_EQ(player.times_opened(), 2);
    run_seconds(1);
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::playing) << "starts within one tick";
    EXPECT_EQ(player.position(), 0);
}

TEST_F(MusicTest, TickActsOnlyOnAStoppedPlayerWithSoundWanted) {
    struct Case {
        const char* name;
        std::optional<MediaMode> mode; // empty: the mode query fails
        bool sound;
        bool restarts;
    };
    const Case cases[] = {
        {"stopped, sound", MediaMode::stopped, true, true},
        {"stopped, no sound", MediaMode::stopped, false, false},
        {"playing, sound", MediaMode::playing, true, false},
        {"other, sound", MediaMode::other, true, false},
        {"mode fails, sound", std::nullopt, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMediaPlayer p;
        p.open(QStringLiteral("x"));
        p.calls.clear();
        bool wanted = c.sound;
        bool ready = true;
        Music m(p, boxes, timer.hooks(), program_dir, wanted, ready);
        if (c.mode)
            p.forced_mode = c.mode;
        else
            p.failing.insert("mode");
        EXPECT_NO_THROW(m.musictimerTimer());
        const QStringList restart = {QStringLiteral("mode"), QStringLiteral("rewind"),
                                     QStringLiteral("play")};
        EXPECT_EQ(p.calls, c.restarts ? restart : QStringList({QStringLiteral("mode")}));
    }
    EXPECT_TRUE(boxes.shown.isEmpty()) << "errors of the loop are not reported";
    EXPECT_TRUE(boxes.confirmations.empty());
}

TEST_F(MusicTest, AnEndedTrackRestartsFromItsBeginningEveryTime) {
    player.track_seconds = 3;
    start(true);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const qsizetype before = player.calls.size();
        run_seconds(3);
        EXPECT_EQ(player.state(), FakeMediaPlayer::State::playing) << "restarted within the second it ended";
        EXPECT_EQ(player.position(), 0);
        const QStringList calls = calls_since(before);
        const qsizetype rewind = calls.indexOf(QStringLiteral("rewind"));
        ASSERT_GE(rewind, 0);
        EXPECT_EQ(calls.indexOf(QStringLiteral("play"), rewind), rewind + 1) << "rewind, then play";
        EXPECT_EQ(calls.count(QStringLiteral("rewind")), 1);
    }
}

TEST_F(MusicTest, OffAndOnAgainStartsFromTheBeginning) {
    start(true);
    run_seconds(7);
    ASSERT_EQ(player.position(), 7);

    music->switch_off();
    EXPECT_FALSE(sound);
    EXPECT_FALSE(timer.ticking()) << "the handler is removed";
    EXPECT_TRUE(timer.enabled);
    EXPECT_EQ(player.calls.mid(player.calls.size() - 2),
              QStringList({QStringLiteral("stop"), QStringLiteral("close")}));
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::closed);
    const qsizetype after_off = player.calls.size();
    run_seconds(3);
    EXPECT_EQ(player.calls.size(), after_off) << "no ticks while switched off";

    ASSERT_TRUE(music->switch_on());
    EXPECT_TRUE(timer.ticking());
    EXPECT_EQ(player.calls.last(), track);
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::stopped) << "nothing plays before the next tick";
    run_seconds(1);
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::playing);
    EXPECT_EQ(player.position(), 0) << "not where it stopped";
}

TEST_F(MusicTest, AFailedStartLeavesTheRunWithoutSound) {
    struct Case {
        const char* name;
        const char* failing;
        bool sound;
    };
    const Case cases[] = {
        {"file cannot be opened, sound on", "open", true},
        {"file cannot be opened, sound off", "open", false},
        {"track cannot be played", "play", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player = FakeMediaPlayer();
        boxes.shown.clear();
        timer = FakeTimer();
        player.failing.insert(c.failing);
        start(c.sound);
        EXPECT_EQ(boxes.shown, QStringList({music_unavailable_message()})) << "told once";
        EXPECT_FALSE(music_ready);
        EXPECT_FALSE(sound);
        EXPECT_FALSE(timer.enabled) << "musictimer stays disabled";
        EXPECT_EQ(player.state(), FakeMediaPlayer::State::closed);
    }
    EXPECT_EQ(
        music_unavailable_message(),
        QStringLiteral("Nie mogę uruchomić odtwarzania MP3. Być może w Twoim systemie brakuje najnowszego "
                       "Windows Media Playera. Zainstaluj ten program (znajdziesz go na płycie) a na razie "
                       "musisz się obyć bez dźwięku."));
}

TEST_F(MusicTest, SwitchingOnReportsAPlayerThatCannotOpen) {
    for (const bool sound_at_start : {false, true}) {
        SCOPED_TRACE(sound_at_start ? "after switching off" : "silent from the start");
        player = FakeMediaPlayer();
        boxes.shown.clear();
        timer = FakeTimer();
        start(sound_at_start);
        if (sound_at_start)
            music->switch_off();
        player.failing.insert("open");
        EXPECT_FALSE(music->switch_on());
        EXPECT_EQ(boxes.shown, QStringList({QStringLiteral("open failed")})) << "the player's own error text";
        EXPECT_TRUE(sound) << "sound is already on";
        const qsizetype plays = player.calls.count(QStringLiteral("play"));
        run_seconds(2);
        EXPECT_EQ(player.calls.count(QStringLiteral("play")), plays) << "no music plays";

        // Off again and on once the file can be opened: the music plays from its beginning.
        music->switch_off();
        player.failing.clear();
        ASSERT_TRUE(music->switch_on());
        run_seconds(1);
        EXPECT_EQ(player.state(), FakeMediaPlayer::State::playing);
        EXPECT_EQ(player.position(), 0);
    }
}

TEST_F(MusicTest, SwitchedOffAgainWhileTheFileLoadsSaysNothing) {
    // A second click on the sound row arrives while the player is still loading the file; it closes
    // the player, whose open then fails. The reader asked for silence and got it: no error box.
    start(false);
    player.while_opening = [this] {
        player.while_opening = nullptr;
        player.failing.insert("open");
        music->switch_off();
    };
    EXPECT_FALSE(music->switch_on());
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(sound);
    run_seconds(2);
    EXPECT_EQ(player.calls.count(QStringLiteral("play")), 0);
}

TEST_F(MusicTest, EndStopsTicksAndClosesThePlayer) {
    start(true);
    run_seconds(2);
    music->end();
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::closed);
    const qsizetype at_end = player.calls.size();
    run_seconds(3);
    EXPECT_EQ(player.calls.size(), at_end);
}

} // namespace
} // namespace kelvox
