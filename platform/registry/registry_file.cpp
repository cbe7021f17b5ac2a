#include "platform/registry/registry_file.h"

#include "platform/atomic_file.h"
#include "platform/registry/registry_document.h"
#include "platform/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstring>
#include <optional>

namespace kelvox {
namespace {

// The menu's settings take a few hundred bytes; anything this large is some other file.
constexpr qint64 kLargestRegistryFile = 16 * 1024 * 1024;

enum class FileState { absent, unreadable, read };

struct LoadedFile {
    FileState state = FileState::absent;
    RegistryDocument document;
};

} // namespace

// The bytes of the file last read and the document they parse to. Every read goes to the file itself,
// but bytes that have not changed are not decoded and parsed again: the settings are read value by
// value, and a file of megabytes would cost that much each time.
struct FileRegistry::ParsedFile {
    std::optional<QByteArray> bytes;
    std::optional<RegistryDocument> document; // none: not a registry
};

namespace {

using ParsedFile = FileRegistry::ParsedFile;

// Whether the rest of the file is `bytes`, compared piece by piece: reading megabytes into memory
// of their own each time would cost more than parsing them.
bool holds(QFile& file, const QByteArray& bytes) {
    std::array<char, 64 * 1024> piece;
    for (qsizetype at = 0;;) {
        const qint64 got = file.read(piece.data(), qint64(piece.size()));
        if (got <= 0)
            return got == 0 && at == bytes.size();
        if (got > bytes.size() - at || std::memcmp(piece.data(), bytes.constData() + at, size_t(got)) != 0)
            return false;
        at += got;
    }
}

LoadedFile load(const QString& path, ParsedFile& last) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(path);
    if (!info.isFile() || info.size() > kLargestRegistryFile || !file.open(QIODevice::ReadOnly))
        return {FileState::unreadable, {}};
    if (!last.bytes || !holds(file, *last.bytes)) {
        if (!file.seek(0))
            return {FileState::unreadable, {}};
        QByteArray bytes = file.read(kLargestRegistryFile + 1);
        if (file.error() != QFileDevice::NoError || bytes.size() > kLargestRegistryFile)
            return {FileState::unreadable, {}};
        last.document = RegistryDocument::parse(decode_disc_text(bytes));
        last.bytes = std::move(bytes);
    }
    if (!last.document)
        return {FileState::unreadable, {}};
    return {FileState::read, *last.document};
}

bool save(const QString& path, const RegistryDocument& document) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return replace_file_atomically(path, document.text().toUtf8());
}

QString root_name(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::local_machine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryRoot::current_user:
        return QStringLiteral("HKEY_CURRENT_USER");
    }
    return {};
}

// "HKEY_LOCAL_MACHINE\SOFTWARE\X" for "\SOFTWARE\X" or "SOFTWARE\X"; nothing for a path with an empty
// step ("A\\B", "A\") or a line break, which no section header could name.
std::optional<QString> full_key_name(RegistryRoot root, const QString& path) {
    const QString relative = path.startsWith(QLatin1Char('\\')) ? path.mid(1) : path;
    if (relative.isEmpty())
        return root_name(root);
    const QStringList steps = relative.split(QLatin1Char('\\'));
    for (const QString& step : steps)
        if (step.isEmpty() || step.contains(QLatin1Char('\n')) || step.contains(QLatin1Char('\r')))
            return std::nullopt;
    return root_name(root) + QLatin1Char('\\') + relative;
}

QString up_to_first_zero(const QString& text) {
    const qsizetype zero = text.indexOf(QChar(0));
    return zero < 0 ? text : text.left(zero);
}

class FileRegistryKey final : public RegistryKey {
public:
    FileRegistryKey(QString file_path, QString key, std::shared_ptr<ParsedFile> last)
        : file_path_(std::move(file_path)), key_(std::move(key)), last_(std::move(last)) {}

    RegistryDword read_dword(const QString& name) override {
        const auto value = read(name);
        if (!value)
            return {};
        if (value->type != RegistryFileType::dword)
            return {RegistryReadStatus::wrong_type, 0};
        return {RegistryReadStatus::ok, value->number};
    }

    RegistryString read_string(const QString& name) override {
        const auto value = read(name);
        if (!value)
            return {};
        if (value->type != RegistryFileType::string && value->type != RegistryFileType::expand_string)
            return {RegistryReadStatus::wrong_type, {}};
        return {RegistryReadStatus::ok, up_to_first_zero(value->text)};
    }

    bool write_dword(const QString& name, std::uint32_t value) override {
        return write(name, {RegistryFileType::dword, {}, value});
    }

    bool write_string(const QString& name, const QString& value) override {
        return write(name, {RegistryFileType::string, up_to_first_zero(value), 0});
    }

private:
    // A file that has gone or become unreadable since the key was opened has no values.
    std::optional<RegistryFileValue> read(const QString& name) {
        const LoadedFile file = load(file_path_, *last_);
        if (file.state != FileState::read)
            return std::nullopt;
        return file.document.value(key_, name);
    }

    bool write(const QString& name, const RegistryFileValue& value) {
        LoadedFile file = load(file_path_, *last_);
        if (file.state == FileState::unreadable)
            return false;
        const bool written = file.document.set_value(key_, name, value) && save(file_path_, file.document);
        *last_ = {};
        return written;
    }

    QString file_path_;
    QString key_;
    std::shared_ptr<ParsedFile> last_;
};

} // namespace

FileRegistry::FileRegistry(QString file_path)
    : file_path_(std::move(file_path)), last_(std::make_shared<ParsedFile>()) {}

std::unique_ptr<RegistryKey> FileRegistry::open_key(RegistryRoot root, const QString& path, bool create) {
    const auto key = full_key_name(root, path);
    if (!key)
        return nullptr;
    LoadedFile file = load(file_path_, *last_);
    if (file.state == FileState::unreadable)
        return nullptr;
    const bool is_root = !key->contains(QLatin1Char('\\'));
    if (!is_root && !file.document.has_key(*key)) {
        if (!create)
            return nullptr;
        file.document.add_key(*key);
        if (!save(file_path_, file.document))
            return nullptr;
        *last_ = {};
    }
    return std::make_unique<FileRegistryKey>(file_path_, *key, last_);
}

} // namespace kelvox
