#include "platform/qt/qt_music_module.h"

#include <vector>

namespace kelvox {

namespace {

// A loaded music module stays for the program's run: Qt keeps what its Qt Multimedia registered (the
// backend plugin, its types) and would reach into an unloaded library at the end.
void keep_loaded(std::unique_ptr<DynamicLibrary> module) {
    static auto* kept = new std::vector<std::unique_ptr<DynamicLibrary>>;
    if (module)
        kept->push_back(std::move(module));
}

} // namespace

MusicModulePlayer::MusicModulePlayer(LibraryLoader load) : load_(std::move(load)) {}

MusicModulePlayer::~MusicModulePlayer() {
    player_.reset();
    keep_loaded(std::move(module_));
}

void MusicModulePlayer::open(const QString& file_name) {
    if (!player_) {
        module_ = load_(QString::fromLatin1(kMusicModule));
        const auto make = module_ ? module_->entry_point<NewMediaPlayer>(kMusicModuleEntryPoint) : nullptr;
        if (make == nullptr)
            throw PlatformError(
                QStringLiteral("Cannot play file %1: the music module %2 cannot be loaded")
                    .arg(file_name, DynamicLibrary::file_name_for(QString::fromLatin1(kMusicModule))));
        player_.reset(make());
    }
    player_->open(file_name);
}

MediaPlayer& MusicModulePlayer::loaded(const char* operation) const {
    if (!player_)
        throw PlatformError(QStringLiteral("Cannot %1: the media player is not open").arg(operation));
    return *player_;
}

void MusicModulePlayer::play() {
    loaded("play").play();
}

void MusicModulePlayer::rewind() {
    loaded("rewind").rewind();
}

void MusicModulePlayer::stop() {
    if (player_)
        player_->stop();
}

void MusicModulePlayer::close() {
    if (player_)
        player_->close();
}

MediaMode MusicModulePlayer::mode() const {
    return player_ ? player_->mode() : MediaMode::other;
}

std::unique_ptr<MediaPlayer> system_media_player() {
    return std::make_unique<MusicModulePlayer>();
}

} // namespace kelvox
