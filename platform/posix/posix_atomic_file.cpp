#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvox {
namespace {

constexpr int kNameAttempts = 16;

// A write can stop short (a full disc, a file size limit) and report the error only on the next call;
// every byte must be accounted for before the file may replace the old one.
bool write_all(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

struct Temporary {
    int fd = -1;
    QByteArray name;
};

Temporary create_temporary(const QString& target, mode_t mode) {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') +
                             QString::number(QRandomGenerator::global()->generate(), 36) +
                             QStringLiteral(".tmp");
        Temporary temporary{-1, QFile::encodeName(name)};
        temporary.fd = ::open(temporary.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (temporary.fd >= 0 || errno != EEXIST)
            return temporary;
    }
    return {};
}

// The rename is only lasting once the directory entry itself is on the disc; a failure here leaves the
// new content in place, so it is not reported.
void sync_directory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool replace_file_atomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo link(path);
    const QString target = link.isSymLink() && link.exists() ? link.canonicalFilePath() : path;
    const QByteArray encoded_target = QFile::encodeName(target);

    // Permissions of the file being replaced; a new file gets 0666 less the umask, as any other would.
    struct stat existing {};
    const bool replaces = ::stat(encoded_target.constData(), &existing) == 0;
    Temporary temporary = create_temporary(target, replaces ? (existing.st_mode & 07777) : 0666);
    if (temporary.fd < 0)
        return false;
    bool ok = (!replaces || ::fchmod(temporary.fd, existing.st_mode & 07777) == 0) &&
              write_all(temporary.fd, bytes) && ::fsync(temporary.fd) == 0;
    ok = ::close(temporary.fd) == 0 && ok;
    ok = ok && ::rename(temporary.name.constData(), encoded_target.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.name.constData());
        return false;
    }
    sync_directory(QFileInfo(target).absolutePath());
    return true;
}

} // namespace kelvox
