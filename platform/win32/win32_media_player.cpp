#include "platform/media_player.h"

#include "platform/disc_path.h"
#include "platform/win32/win32_text.h"

#include <mmsystem.h>

#include <array>

namespace kelvox {

namespace {

PlatformError cannot_play(const QString& file_name, const QString& reason) {
    return PlatformError(QStringLiteral("Cannot play file %1: %2").arg(file_name, reason));
}

// The system's own player through its media control interface: Windows plays MP3 without anything
// installed beside the menu. The "mpegvideo" device takes whatever the system's media codecs decode.
class Win32MediaPlayer final : public MediaPlayer {
public:
    // Each player its own device alias, so that a second one never closes the first one's file.
    Win32MediaPlayer() : alias_(QStringLiteral("kelvox_music_%1").arg(++players_)) {}
    ~Win32MediaPlayer() override { close(); }

    void open(const QString& file_name) override {
        close();
        const QFileInfo info(native_path(file_name));
        if (!info.isFile() || !info.isReadable())
            throw cannot_open_file(file_name);
        // Windows file names hold no quotes, so the quoted path is one word of the command.
        const MCIERROR error = send(QStringLiteral("open \"%1\" type mpegvideo alias %2 wait")
                                        .arg(windows_path(info.filePath()), alias_));
        if (error != 0)
            throw cannot_play(file_name, error_text(error));
        open_ = true;
    }

    void play() override { command("play", QStringLiteral("play %1")); }

    void stop() override {
        if (open_)
            send(QStringLiteral("stop %1 wait").arg(alias_));
    }

    void close() override {
        if (open_)
            send(QStringLiteral("close %1 wait").arg(alias_));
        open_ = false;
    }

    void rewind() override { command("rewind", QStringLiteral("seek %1 to start wait")); }

    MediaMode mode() const override {
        if (!open_)
            return MediaMode::other;
        std::array<wchar_t, 64> answer{};
        if (send(QStringLiteral("status %1 mode wait").arg(alias_), answer.data(), UINT(answer.size())) != 0)
            return MediaMode::other;
        const QString mode = QString::fromWCharArray(answer.data());
        if (mode == QLatin1String("stopped"))
            return MediaMode::stopped;
        if (mode == QLatin1String("playing"))
            return MediaMode::playing;
        return MediaMode::other;
    }

private:
    static MCIERROR send(const QString& command, wchar_t* answer = nullptr, UINT answer_size = 0) {
        return mciSendStringW(wide(command), answer, answer_size, nullptr);
    }

    static QString error_text(MCIERROR error) {
        std::array<wchar_t, 256> text{};
        if (!mciGetErrorStringW(error, text.data(), UINT(text.size())))
            return QStringLiteral("media control error %1").arg(error);
        return QString::fromWCharArray(text.data());
    }

    void command(const char* operation, const QString& command) {
        if (!open_)
            throw PlatformError(QStringLiteral("Cannot %1: the media player is not open").arg(operation));
        const MCIERROR error = send(command.arg(alias_));
        if (error != 0)
            throw PlatformError(QStringLiteral("Cannot %1: %2").arg(operation, error_text(error)));
    }

    static inline int players_ = 0;
    QString alias_;
    bool open_ = false;
};

} // namespace

std::unique_ptr<MediaPlayer> system_media_player() {
    return std::make_unique<Win32MediaPlayer>();
}

} // namespace kelvox
