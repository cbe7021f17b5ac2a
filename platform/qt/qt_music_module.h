#pragma once
// The music as a module of its own (layer-internal). Qt Multimedia and the sound libraries under it are
// loaded when the music first opens its track, after the first frame, instead of with the program: they
// weigh about a quarter of what the loader brings in before the menu can draw.
#include "platform/dynamic_library.h"
#include "platform/media_player.h"

namespace kelvox {

// The module's name as DynamicLibrary knows it (libkelvox_music.so) and its one entry point, which
// makes a player the caller owns.
inline constexpr char kMusicModule[] = "KELVOX_MUSIC";
inline constexpr char kMusicModuleEntryPoint[] = "kelvox_new_media_player";
using NewMediaPlayer = MediaPlayer* (*)();

// A player that loads the music module at its first open and hands every operation to the module's
// player. Until then, and when the module cannot be loaded, it is a player that is not open.
class MusicModulePlayer final : public MediaPlayer {
public:
    explicit MusicModulePlayer(LibraryLoader load = DynamicLibrary::load);
    ~MusicModulePlayer() override;

    void open(const QString& file_name) override;
    void play() override;
    void stop() override;
    void close() override;
    void rewind() override;
    MediaMode mode() const override;

private:
    MediaPlayer& loaded(const char* operation) const;

    LibraryLoader load_;
    std::unique_ptr<DynamicLibrary> module_; // declared first: it outlives the player made from it
    std::unique_ptr<MediaPlayer> player_;
};

} // namespace kelvox
