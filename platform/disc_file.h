#pragma once
// Reading a file that the disc supplies. A disc is made by someone else and may hold anything: a name
// that climbs out of it, a link to a device, a FIFO, a file of gigabytes. Only a regular file that lies
// inside the disc's root is read, and only up to the size its kind may have; anything else raises the
// platform's "Cannot open file %s" with the name as given, and a reason the disc checker shows.
#include "platform/platform_error.h"

#include <QByteArray>
#include <QString>

namespace kelvox {

// The largest file of each kind the menu reads from a disc (docs/authoring.md gives them to authors).
// The catalogue's cap leaves room for well over 100,000 entries; a ticker line of a whole megabyte
// still loads.
inline constexpr qint64 kCatalogueFileCap = qint64(32) << 20;  // menu\index.xml
inline constexpr qint64 kDescriptionFileCap = qint64(1) << 20; // an entry's info.xml
inline constexpr qint64 kTickerFileCap = qint64(2) << 20;      // menu\reklamy.txt
inline constexpr qint64 kBitmapFileCap = qint64(64) << 20;     // skin bitmaps and background pictures
inline constexpr qint64 kJpegFileCap = qint64(32) << 20;       // entry pictures
inline constexpr qint64 kFontFileCap = qint64(16) << 20;       // the ticker font

// A disc file refused or unreadable. message() is "Cannot open file <name>"; reason() says why.
class DiscFileError : public PlatformError {
public:
    DiscFileError(const QString& name, QString reason);
    const QString& reason() const noexcept { return reason_; }

private:
    QString reason_;
};

// Makes a directory the disc's root for as long as it lives: every file read through read_disc_file
// must then lie inside it, links resolved. The previous root comes back when it goes. Without one,
// files are taken from anywhere (tests that read a file of their own).
class DiscRoot {
public:
    explicit DiscRoot(const QString& disc_path);
    ~DiscRoot();
    DiscRoot(const DiscRoot&) = delete;
    DiscRoot& operator=(const DiscRoot&) = delete;

private:
    QString previous_;
};

// The file system's path of the disc file, after checking that it is a regular file inside the disc's
// root no larger than max_bytes. Raises DiscFileError. Nothing is opened, so a FIFO never blocks.
QString checked_disc_file(const QString& disc_path, qint64 max_bytes);

// The whole content of the disc file, checked as above. Raises DiscFileError.
QByteArray read_disc_file(const QString& disc_path, qint64 max_bytes);

// A file named under a directory the caller knows, in the disc's form: directory + "\" + name.
QString disc_path_in(const QString& directory, const QString& name);

// Runs the load of a file named under a directory; a file that cannot be read is reported by its name
// under the directory alone, the way the disc and its reader name it ("menu\tapeta.bmp").
template <typename Load> void read_in_directory(const QString& directory, const QString& name, Load&& load) {
    try {
        load(disc_path_in(directory, name));
    } catch (const DiscFileError& error) {
        throw DiscFileError(name, error.reason());
    }
}

} // namespace kelvox
