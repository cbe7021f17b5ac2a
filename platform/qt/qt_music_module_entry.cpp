// The music module's entry point (libkelvox_music.so): the player over Qt Multimedia.
#include "platform/qt/qt_media_player.h"
#include "platform/qt/qt_music_module.h"

extern "C" __attribute__((visibility("default"))) kelvox::MediaPlayer* kelvox_new_media_player() {
    return new kelvox::QtMediaPlayer();
}
