#pragma once
// The media player the background music runs on: the six operations the music loop needs. Every
// operation runs on the main thread; failures are raised as PlatformError.
#include "platform/platform_error.h"

#include <QString>

#include <memory>

namespace kelvox {

enum class MediaMode {
    stopped, // never started, stopped, or at the end of the track
    playing,
    other, // not open, still loading, paused
};

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // Opens the file (a disc path) afresh, closing what was open. Returns once the file has loaded;
    // raises when it is missing or cannot be played.
    virtual void open(const QString& file_name) = 0;
    // Starts playing from the current position and returns at once.
    virtual void play() = 0;
    // Stop and close never raise and are harmless when nothing is open, so that shutting the music
    // down always succeeds.
    virtual void stop() = 0;
    // Releases the file; a later open starts afresh.
    virtual void close() = 0;
    // Moves to the start of the track; returns when done.
    virtual void rewind() = 0;
    virtual MediaMode mode() const = 0;
};

// This system's player: Qt Multimedia where Qt has it, the system's own media control on Windows.
std::unique_ptr<MediaPlayer> system_media_player();

} // namespace kelvox
