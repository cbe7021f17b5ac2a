#pragma once
#include "platform/media_player.h"

#include <chrono>
#include <memory>

namespace kelvox {

// The player over Qt Multimedia. Qt's GStreamer backend is chosen unless QT_MEDIA_BACKEND says
// otherwise: the FFmpeg backend crashes on machines without a sound card.
class QtMediaPlayer final : public MediaPlayer {
public:
    explicit QtMediaPlayer(std::chrono::milliseconds load_timeout = std::chrono::seconds(10));
    ~QtMediaPlayer() override;

    void open(const QString& file_name) override;
    void play() override;
    void stop() override;
    void close() override;
    void rewind() override;
    MediaMode mode() const override;

private:
    struct Device;
    Device& open_device(const char* operation) const;

    std::chrono::milliseconds load_timeout_;
    std::unique_ptr<Device> device_;
    unsigned generation_ = 0; // counts closes, so that an open can tell it was overtaken
};

} // namespace kelvox
