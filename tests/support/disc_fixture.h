#pragma once
// A throw-away disc directory for tests: files written by relative path (either separator), and the
// process's current directory put back when the fixture goes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <stdexcept>

namespace kelvox::test {

class DiscFixture {
public:
    DiscFixture() : previous_(QDir::currentPath()) {
        if (!dir_.isValid())
            throw std::runtime_error("cannot create a temporary directory");
    }
    ~DiscFixture() { QDir::setCurrent(previous_); }
    DiscFixture(const DiscFixture&) = delete;
    DiscFixture& operator=(const DiscFixture&) = delete;

    // The root in the platform's form ("/tmp/xyz").
    QString root() const { return dir_.path(); }

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
        return dir_.path() + QLatin1Char('/') + path;
    }

private:
    QString previous_;
    QTemporaryDir dir_;
};

} // namespace kelvox::test
