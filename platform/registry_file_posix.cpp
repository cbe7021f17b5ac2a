#include "platform/registry_file.h"

#include "platform/atomic_file.h"
#include "platform/registry_document.h"
#include "platform/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvox {
namespace {

// The menu's settings take a few hundred bytes; anything this large is some other file.
constexpr qint64 kLargestRegistryFile = 16 * 1024 * 1024;

enum class FileState { absent, unreadable, read };

struct LoadedFile {
    FileState state = FileState::absent;
    RegistryDocument document;
};

LoadedFile load(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {FileState::unreadable, {}};
    const QByteArray bytes = file.read(kLargestRegistryFile + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kLargestRegistryFile)
        return {FileState::unreadable, {}};
    auto document = RegistryDocument::parse(decode_disc_text(bytes));
    if (!document)
        return {FileState::unreadable, {}};
    return {FileState::read, std::move(*document)};
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
    FileRegistryKey(QString file_path, QString key)
        : file_path_(std::move(file_path)), key_(std::move(key)) {}

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
    std::optional<RegistryFileValue> read(const QString& name) const {
        const LoadedFile file = load(file_path_);
        if (file.state != FileState::read)
            return std::nullopt;
        return file.document.value(key_, name);
    }

    bool write(const QString& name, const RegistryFileValue& value) const {
        LoadedFile file = load(file_path_);
        if (file.state == FileState::unreadable)
            return false;
        return file.document.set_value(key_, name, value) && save(file_path_, file.document);
    }

    QString file_path_;
    QString key_;
};

} // namespace

FileRegistry::FileRegistry(QString file_path) : file_path_(std::move(file_path)) {}

std::unique_ptr<RegistryKey> FileRegistry::open_key(RegistryRoot root, const QString& path, bool create) {
    const auto key = full_key_name(root, path);
    if (!key)
        return nullptr;
    LoadedFile file = load(file_path_);
    if (file.state == FileState::unreadable)
        return nullptr;
    const bool is_root = !key->contains(QLatin1Char('\\'));
    if (!is_root && !file.document.has_key(*key)) {
        if (!create)
            return nullptr;
        file.document.add_key(*key);
        if (!save(file_path_, file.document))
            return nullptr;
    }
    return std::make_unique<FileRegistryKey>(file_path_, *key);
}

QString registry_file_path() {
    const QString explicit_path = qEnvironmentVariable("KELVOX_REGISTRY");
    if (!explicit_path.isEmpty())
        return explicit_path;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/kelvox-cover-menu/registry.reg");
}

} // namespace kelvox
