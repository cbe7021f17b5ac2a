#include "platform/atomic_file.h"

#include "platform/disc/temporary_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

// The content is written to a file that has no name until it is whole, where the file system can make
// one: a writer killed meanwhile leaves nothing behind. Elsewhere it gets a temporary name at once.
// Either way the writer holds it locked until the rename, so that a later writer can tell a temporary
// left by a killed one from one being written.
struct Temporary {
    int fd = -1;
    QByteArray name; // empty while the file has none
};

Temporary create_temporary(const QFileInfo& target, mode_t mode) {
    Temporary temporary;
    temporary.fd =
        ::open(QFile::encodeName(target.absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    // Naming it later goes through its entry in /proc, which a chroot may lack.
    if (temporary.fd >= 0 &&
        ::access(QByteArray("/proc/self/fd/" + QByteArray::number(temporary.fd)).constData(), F_OK) != 0) {
        ::close(temporary.fd);
        temporary.fd = -1;
    }
    for (int attempt = 0; temporary.fd < 0 && attempt < kNameAttempts; ++attempt) {
        temporary.name = QFile::encodeName(temporary_file_name(target));
        temporary.fd = ::open(temporary.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (temporary.fd < 0 && errno != EEXIST)
            break;
    }
    if (temporary.fd >= 0)
        ::flock(temporary.fd, LOCK_EX | LOCK_NB);
    return temporary;
}

// Gives the unnamed file a temporary name beside the target, for the rename over it.
bool name_temporary(Temporary& temporary, const QFileInfo& target) {
    const QByteArray open_file = "/proc/self/fd/" + QByteArray::number(temporary.fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = QFile::encodeName(temporary_file_name(target));
        if (::linkat(AT_FDCWD, open_file.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.name = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// Temporaries of this file that a killed writer left: this program's naming, the user's own, and not
// locked by a writer at work.
void remove_stale_temporaries(const QFileInfo& target) {
    for (const QString& file : temporary_files_of(target)) {
        const QByteArray path = QFile::encodeName(file);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
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
    const QFileInfo target_info(target);
    remove_stale_temporaries(target_info);

    // Permissions of the file being replaced; a new file gets 0666 less the umask, as any other would.
    struct stat existing {};
    const bool replaces = ::stat(encoded_target.constData(), &existing) == 0;
    Temporary temporary = create_temporary(target_info, replaces ? (existing.st_mode & 07777) : 0666);
    if (temporary.fd < 0)
        return false;
    bool ok = (!replaces || ::fchmod(temporary.fd, existing.st_mode & 07777) == 0) &&
              write_all(temporary.fd, bytes) && ::fsync(temporary.fd) == 0;
    ok = ok && (!temporary.name.isEmpty() || name_temporary(temporary, target_info));
    ok = ok && ::rename(temporary.name.constData(), encoded_target.constData()) == 0;
    // Closed after the rename, so that the lock lasts as long as the temporary name; the content is on
    // the disc by then (fsync), so a late error of the close changes nothing.
    ::close(temporary.fd);
    if (!ok) {
        if (!temporary.name.isEmpty())
            ::unlink(temporary.name.constData());
        return false;
    }
    sync_directory(target_info.absolutePath());
    return true;
}

} // namespace kelvox
