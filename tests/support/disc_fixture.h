#pragma once
// A throw-away disc directory for tests: files written by relative path (either separator), and the
// process's current directory put back when the fixture goes. Given a root, the disc is written there
// and kept (for a disc that a test program hands to the real menu).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <stdexcept>

namespace kelvox::test {

class DiscFixture {
public:
    DiscFixture() : previous_(QDir::currentPath()), dir_(std::in_place), root_(dir_->path()) {
        if (!dir_->isValid())
            throw std::runtime_error("cannot create a temporary directory");
    }
    explicit DiscFixture(const QString& kept_root) : previous_(QDir::currentPath()), root_(kept_root) {
        if (!QDir().mkpath(root_))
            throw std::runtime_error("cannot create " + root_.toStdString());
    }
    ~DiscFixture() { QDir::setCurrent(previous_); }
    DiscFixture(const DiscFixture&) = delete;
    DiscFixture& operator=(const DiscFixture&) = delete;

    // The root in the platform's form ("/tmp/xyz").
    QString root() const { return root_; }

    // Writes the bytes to root/relative, making the directories on the way.
    void write(const QString& relative, const QByteArray& bytes) const {
        const QString path = absolute(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + path.toStdString());
    }

    void make_directory(const QString& relative) const { QDir().mkpath(absolute(relative)); }

    void remove(const QString& relative) const { QFile::remove(absolute(relative)); }

    QString absolute(const QString& relative) const {
        QString path = relative;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return root_ + QLatin1Char('/') + path;
    }

private:
    QString previous_;
    std::optional<QTemporaryDir> dir_;
    QString root_;
};

} // namespace kelvox::test
