#pragma once
// A media player for tests: a track of a given length whose position moves only when the test
// advances it. Records every call and fails the operations a test names.
#include "platform/media_player.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace kelvox {

class FakeMediaPlayer final : public MediaPlayer {
public:
    enum class State { closed, stopped, playing };

    // Calls in order: "open <file>", "play", "stop", "close", "rewind", "mode".
    mutable QStringList calls;
    // Operations ("open", "play", "rewind", "mode") that raise a PlatformError "<operation> failed".
    std::set<std::string> failing;
    // When set, mode() reports this instead of what the state says.
    std::optional<MediaMode> forced_mode;
    int track_seconds = 60;
    // Runs inside open, as events delivered while a real player loads the file would.
    std::function<void()> while_opening;

    State state() const { return state_; }
    int position() const { return position_; }
    int times_opened() const { return static_cast<int>(calls.filter(QStringLiteral("open ")).size()); }

    // Lets the track play on; it stops at its end as a real player does.
    void advance(int seconds) {
        if (state_ != State::playing)
            return;
        position_ += seconds;
        if (position_ >= track_seconds) {
            position_ = track_seconds;
            state_ = State::stopped;
        }
    }

    void open(const QString& file_name) override {
        calls << QStringLiteral("open ") + file_name;
        state_ = State::closed;
        if (while_opening)
            while_opening();
        fail_if("open");
        state_ = State::stopped;
        position_ = 0;
    }
    void play() override {
        calls << QStringLiteral("play");
        require_open("play");
        state_ = State::playing;
    }
    void stop() override {
        calls << QStringLiteral("stop");
        if (state_ == State::playing)
            state_ = State::stopped;
    }
    void close() override {
        calls << QStringLiteral("close");
        state_ = State::closed;
    }
    void rewind() override {
        calls << QStringLiteral("rewind");
        require_open("rewind");
        position_ = 0;
    }
    MediaMode mode() const override {
        calls << QStringLiteral("mode");
        fail_if("mode");
        if (forced_mode)
            return *forced_mode;
        switch (state_) {
        case State::stopped:
            return MediaMode::stopped;
        case State::playing:
            return MediaMode::playing;
        default:
            return MediaMode::other;
        }
    }

private:
    void fail_if(const std::string& operation) const {
        if (failing.count(operation))
            throw PlatformError(QString::fromStdString(operation) + QStringLiteral(" failed"));
    }
    void require_open(const std::string& operation) const {
        fail_if(operation);
        if (state_ == State::closed)
            throw PlatformError(QStringLiteral("not open"));
    }

    State state_ = State::closed;
    int position_ = 0;
};

} // namespace kelvox
