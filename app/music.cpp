#include "app/music.h"

#include <exception>

namespace kelvox {

QString music_unavailable_message() {
    return QStringLiteral(
        "Nie mogę uruchomić odtwarzania MP3. Być może w Twoim systemie brakuje najnowszego "
        "Windows Media Playera. Zainstaluj ten program (znajdziesz go na płycie) a na razie "
        "musisz się obyć bez dźwięku.");
}

Music::Music(MediaPlayer& player, MessageBoxes& boxes, MusicTimer timer, const QString& program_dir,
             bool& sound, bool& music_ready)
    : player_(player), boxes_(boxes), timer_(std::move(timer)), program_dir_(program_dir), sound_(sound),
      music_ready_(music_ready) {}

void Music::start() {
    try {
        file_name_ = program_dir_ + QStringLiteral("\\menu\\muzyczka.mp3");
        player_.open(file_name_);
        // With sound off the open only proved that the music can be played.
        if (sound_)
            player_.play();
        else
            player_.close();
        music_ready_ = true;
        timer_.enable();
    } catch (const std::exception&) {
        sound_ = false;
        music_ready_ = false;
        // A step after the open may have failed: do not leave the device open for a run without sound.
        player_.close();
        boxes_.show(music_unavailable_message());
    }
}

void Music::musictimerTimer() {
    // Nothing here is reported: a failure to ask or restart is retried at the next tick, and an error
    // let out of a tick would stop musictimer for good.
    try {
        if (player_.mode() == MediaMode::stopped && sound_) {
            player_.rewind();
            player_.play();
        }
    } catch (const PlatformError&) {
    }
}

void Music::switch_off() {
    sound_ = false;
    timer_.remove_handler();
    player_.stop();
    player_.close();
}

bool Music::switch_on() {
    sound_ = true;
    try {
        player_.open(file_name_);
    } catch (const PlatformError& error) {
        // Switched off again while the file loaded (the player was closed under it): that failure
        // is the silence asked for, not an error to show.
        if (sound_)
            boxes_.show(error.message());
        return false;
    }
    timer_.install_handler();
    return true;
}

void Music::end() {
    timer_.disable();
    player_.close();
}

} // namespace kelvox
