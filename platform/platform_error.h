#pragma once
// The base of every error the platform layer raises. Its text is what the user is shown, so it is
// kept as a QString (Polish letters, file names) and also offered as UTF-8 through what().
#include <QString>

#include <exception>
#include <string>

namespace kelvox {

class PlatformError : public std::exception {
public:
    explicit PlatformError(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// "Cannot open file %s": raised for every file the layer cannot open, with the name as the caller gave it.
inline PlatformError cannot_open_file(const QString& name) {
    return PlatformError(QStringLiteral("Cannot open file %1").arg(name));
}

} // namespace kelvox
