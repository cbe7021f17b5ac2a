#include "platform/disc_file.h"

#include "platform/disc/disc_root.h"
#include "platform/disc_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <new>

namespace kelvox {

namespace {

// The canonical path of the current disc root; empty when none is set.
QString& root_path() {
    static QString root;
    return root;
}

bool inside_root(const QString& root, const QString& canonical_file) {
    if (root.isEmpty())
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return canonical_file.startsWith(prefix, file_name_case());
}

} // namespace

DiscFileError::DiscFileError(const QString& name, QString reason)
    : PlatformError(cannot_open_file(name).message()), reason_(std::move(reason)) {}

QString canonical_disc_root(const QString& disc_path) {
    const QString canonical = QFileInfo(native_path(disc_path)).canonicalFilePath();
    // A root that cannot be resolved lets nothing through rather than everything.
    return canonical.isEmpty() ? QStringLiteral("/nonexistent-disc-root") : canonical;
}

DiscRoot::DiscRoot(const QString& disc_path) : previous_(root_path()) {
    root_path() = canonical_disc_root(disc_path);
}

DiscRoot::~DiscRoot() {
    root_path() = previous_;
}

namespace {

QString checked_in_root(const QString& root, const QString& disc_path, qint64 max_bytes) {
    if (disc_path.isEmpty())
        throw DiscFileError(disc_path, QStringLiteral("no file name"));
    const QString path = native_path(disc_path);
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        throw DiscFileError(disc_path, QStringLiteral("it does not exist"));
    if (!inside_root(root, canonical))
        throw DiscFileError(disc_path, QStringLiteral("it lies outside the disc (%1)").arg(canonical));
    // Devices, FIFOs and sockets are refused before anything opens them: opening a FIFO waits for a
    // writer, and a device can give bytes without end.
    if (!info.isFile())
        throw DiscFileError(disc_path, QStringLiteral("it is not a regular file"));
    if (info.size() > max_bytes)
        throw DiscFileError(disc_path, QStringLiteral("it has %1 bytes, more than the %2 the menu reads for "
                                                      "a file of its kind")
                                           .arg(info.size())
                                           .arg(max_bytes));
    return path;
}

// Reads until the end or `limit` bytes, in a buffer the size the file has (and grown only if it grows):
// asking Qt for `limit` bytes at once would allocate the whole cap, tens of megabytes, for every small
// skin file.
QByteArray read_up_to(QFile& file, qint64 limit) {
    QByteArray bytes(std::min(file.size() + 1, limit), Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled == limit)
                break;
            bytes.resize(std::min(2 * filled + 1, limit));
        }
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got <= 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

QString checked_disc_file(const QString& disc_path, qint64 max_bytes) {
    return checked_in_root(root_path(), disc_path, max_bytes);
}

QByteArray read_disc_file(const QString& disc_path, qint64 max_bytes) {
    return read_disc_file_in_root(root_path(), disc_path, max_bytes);
}

QByteArray read_disc_file_in_root(const QString& root, const QString& disc_path, qint64 max_bytes) {
    QFile file(checked_in_root(root, disc_path, max_bytes));
    if (!file.open(QIODevice::ReadOnly))
        throw DiscFileError(disc_path, file.errorString());
    try {
        QByteArray bytes = read_up_to(file, max_bytes + 1);
        if (file.error() != QFileDevice::NoError)
            throw DiscFileError(disc_path, file.errorString());
        // One byte more than allowed tells a file that grew since it was checked.
        if (bytes.size() > max_bytes)
            throw DiscFileError(disc_path,
                                QStringLiteral("it grew beyond %1 bytes while read").arg(max_bytes));
        return bytes;
    } catch (const std::bad_alloc&) {
        throw DiscFileError(disc_path, QStringLiteral("not enough memory to read it"));
    }
}

QString disc_path_in(const QString& directory, const QString& name) {
    return directory + QLatin1Char('\\') + name;
}

} // namespace kelvox
