#include "app/music_timer.h"

#include "tests/support/fake_media_player.h"
#include "tests/support/fake_message_boxes.h"
#include "tests/support/qt_event_loop.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvox {
namespace {

// The music over a real threaded timer, made as the window makes musictimer (disabled, its handler
// bound) but with a short interval so that the loop can be watched in real time.
class MusicTimerTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensure_application(); }

    void start(bool sound_wanted) {
        sound = sound_wanted;
        music = std::make_unique<Music>(player, boxes, musictimer_hooks(musictimer, [this] { step(); }),
                                        program_dir, sound, music_ready);
        music->start();
    }
    void step() {
        ++ticks;
        music->musictimerTimer();
    }
    bool restarted_after(qsizetype from) const {
        const QStringList calls = player.calls.mid(from);
        const qsizetype rewind = calls.indexOf(QStringLiteral("rewind"));
        return rewind >= 0 && calls.indexOf(QStringLiteral("play"), rewind) == rewind + 1;
    }
    // Lets the track reach its end and waits for the loop to start it again.
    bool ends_and_restarts() {
        player.advance(player.track_seconds);
        const qsizetype from = player.calls.size();
        return test::process_until([&] { return restarted_after(from); }, 2000);
    }

    const QString program_dir = QStringLiteral("D:\\cover");
    FakeMediaPlayer player;
    FakeMessageBoxes boxes;
    bool sound = false;
    bool music_ready = false;
    int ticks = 0;
    std::unique_ptr<Music> music;
    // Declared last: it goes first, before the music its handler calls.
    TThreadedTimer musictimer{false, 20, tpNormal, [this](TThreadedTimer*) { step(); }};
};

TEST_F(MusicTimerTest, TheLoopRunsOnTheThreadedTimer) {
    start(true);
    EXPECT_TRUE(musictimer.Enabled());
    ASSERT_TRUE(ends_and_restarts()) << "the ended track was not restarted";
    ASSERT_TRUE(ends_and_restarts()) << "nor the second time";

    music->switch_off();
    EXPECT_FALSE(musictimer.OnTimer());
    const int ticks_when_off = ticks;
    test::process_for(150);
    EXPECT_EQ(ticks, ticks_when_off) << "no ticks while switched off";

    ASSERT_TRUE(music->switch_on());
    EXPECT_TRUE(musictimer.OnTimer());
    const qsizetype from = player.calls.size();
    EXPECT_TRUE(test::process_until([&] { return restarted_after(from); }, 2000));
    EXPECT_EQ(player.state(), FakeMediaPlayer::State::playing);

    music->end();
    EXPECT_FALSE(musictimer.Enabled());
    const int ticks_at_end = ticks;
    test::process_for(150);
    EXPECT_EQ(ticks, ticks_at_end);
    EXPECT_FALSE(musictimer.Failed());
}

TEST_F(MusicTimerTest, AFailedStartLeavesTheTimerDisabled) {
    player.failing.insert("open");
    start(true);
    EXPECT_FALSE(musictimer.Enabled());
    test::process_for(100);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(MusicTimerTest, ErrorsOfTheLoopDoNotStopTheTimer) {
    start(true);
    player.failing = {"mode"};
    const int before = ticks;
    ASSERT_TRUE(test::process_until([&] { return ticks >= before + 3; }, 2000));
    EXPECT_FALSE(musictimer.Failed()) << musictimer.Failure().toStdString();
    player.failing = {"rewind"};
    player.advance(player.track_seconds);
    const int later = ticks;
    ASSERT_TRUE(test::process_until([&] { return ticks >= later + 3; }, 2000));
    EXPECT_FALSE(musictimer.Failed());
    player.failing.clear();
    const qsizetype from = player.calls.size();
    EXPECT_TRUE(test::process_until([&] { return restarted_after(from); }, 2000)) << "retried once it works";
}

} // namespace
} // namespace kelvox
