#include "platform/qt/qt_media_player.h"

#include "platform/disc_path.h"
#include "platform/qt/qt_media_backend.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace kelvox {

namespace {

bool has_settled(const QMediaPlayer& player) {
    switch (player.mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::InvalidMedia:
        return true;
    default:
        return player.error() != QMediaPlayer::NoError;
    }
}

bool has_failed(const QMediaPlayer& player) {
    return player.error() != QMediaPlayer::NoError || player.mediaStatus() == QMediaPlayer::InvalidMedia;
}

PlatformError cannot_play(const QString& file_name, const QString& reason) {
    QString text = QStringLiteral("Cannot play file %1").arg(file_name);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return PlatformError(text);
}

} // namespace

// The output is declared first so that it outlives the player that plays into it.
struct QtMediaPlayer::Device {
    QAudioOutput output;
    QMediaPlayer player;
    Device() { player.setAudioOutput(&output); }
};

QtMediaPlayer::QtMediaPlayer(std::chrono::milliseconds load_timeout) : load_timeout_(load_timeout) {
    // Qt reads the variable when the first player is made.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

QtMediaPlayer::~QtMediaPlayer() = default;

void QtMediaPlayer::open(const QString& file_name) {
    close();
    const unsigned generation = generation_;
    const QString path = native_path(file_name);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw cannot_open_file(file_name);

    if (!media_backend_available(qEnvironmentVariable("QT_MEDIA_BACKEND")))
        throw cannot_play(file_name, QStringLiteral("no multimedia backend can be loaded"));
    auto device = std::make_unique<Device>();
    QMediaPlayer& player = device->player;
    // Loading is asynchronous: wait here, with a bound, until the backend has either loaded the
    // track or given up on it, so that open can report the failure as the music's start needs.
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (has_settled(player))
            loop.quit();
    });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    player.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (!has_settled(player)) {
        deadline.start(load_timeout_);
        loop.exec();
    }
    // The wait runs other handlers: one of them may have closed or reopened this player meanwhile,
    // and its word is the later one.
    if (generation != generation_)
        throw cannot_play(file_name, QStringLiteral("the player was closed while the file loaded"));
    if (has_failed(player))
        throw cannot_play(file_name, player.errorString());
    if (!has_settled(player))
        throw cannot_play(file_name, QStringLiteral("the file did not load in time"));
    device_ = std::move(device);
}

QtMediaPlayer::Device& QtMediaPlayer::open_device(const char* operation) const {
    if (!device_)
        throw PlatformError(QStringLiteral("Cannot %1: the media player is not open").arg(operation));
    return *device_;
}

void QtMediaPlayer::play() {
    open_device("play").player.play();
}

void QtMediaPlayer::stop() {
    if (device_)
        device_->player.stop();
}

void QtMediaPlayer::close() {
    ++generation_;
    device_.reset();
}

void QtMediaPlayer::rewind() {
    open_device("rewind").player.setPosition(0);
}

MediaMode QtMediaPlayer::mode() const {
    if (!device_)
        return MediaMode::other;
    const QMediaPlayer& player = device_->player;
    // A track that fails while it plays can leave the state at "playing" for good; the music loop
    // must see it as stopped to try again.
    if (has_failed(player))
        return MediaMode::stopped;
    switch (player.playbackState()) {
    case QMediaPlayer::StoppedState:
        return MediaMode::stopped;
    case QMediaPlayer::PlayingState:
        return MediaMode::playing;
    default:
        return MediaMode::other;
    }
}

} // namespace kelvox
