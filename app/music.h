#pragma once
// The background music: muzyczka.mp3 from the skin, looped by the program itself. musictimer asks
// the player once a second and restarts the track from its beginning when it has stopped.
#include "platform/media_player.h"
#include "platform/message_boxes.h"

#include <QString>

#include <functional>

namespace kelvox {

// How the music reaches musictimer, whose OnTimer the window binds to musictimerTimer.
struct MusicTimer {
    std::function<void()> enable;
    std::function<void()> disable;
    std::function<void()> install_handler; // OnTimer := musictimerTimer
    std::function<void()> remove_handler;
};

class Music {
public:
    // The window's fields are held by reference: the music reads program_dir when it starts and
    // keeps sound and music_ready up to date.
    Music(MediaPlayer& player, MessageBoxes& boxes, MusicTimer timer, const QString& program_dir, bool& sound,
          bool& music_ready);

    // Start of the music at window construction. On any failure the user is told once that there
    // is no sound for this run, and sound and music_ready end false with musictimer disabled.
    void start();
    // musictimer's step: restarts the track when the player has stopped and sound is wanted.
    void musictimerTimer();
    // The settings drawer's sound row, used only when music_ready. Switching on opens the player
    // again and leaves the start of the track to the next tick; it returns false, after showing the
    // player's error text, when the player cannot be opened (sound then stays true but nothing plays).
    void switch_off();
    bool switch_on();
    // The end of the window: no further ticks, the player closed.
    void end();

    const QString& file_name() const { return file_name_; }

private:
    MediaPlayer& player_;
    MessageBoxes& boxes_;
    MusicTimer timer_;
    const QString& program_dir_;
    bool& sound_;
    bool& music_ready_;
    QString file_name_;
};

// What the user is told when the music cannot be started.
QString music_unavailable_message();

} // namespace kelvox
