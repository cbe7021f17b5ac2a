#pragma once
// An in-memory registry for tests: values of any type can be planted, keys can be made to refuse
// opening or creation, writes can be made to fail after a number of them, and every write is
// recorded in order.
#include "platform/registry.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kelvox {

class FakeRegistry final : public Registry {
public:
    enum class Type { dword, string, expand_string, binary };
    struct Value {
        Type type = Type::binary;
        std::uint32_t number = 0;
        QString text;
    };

    // Keys are named by their path as the menu gives it ("\SOFTWARE\X"), under HKEY_LOCAL_MACHINE
    // unless a root is given; names compare without regard to case, as in the real registry.
    void add_key(const QString& path, RegistryRoot root = RegistryRoot::local_machine) {
        keys_.insert(id(root, path));
    }
    void put(const QString& path, const QString& name, Value value,
             RegistryRoot root = RegistryRoot::local_machine) {
        add_key(path, root);
        values_[id(root, path)][name.toUpper()] = std::move(value);
    }
    void put_dword(const QString& path, const QString& name, std::uint32_t number) {
        put(path, name, {Type::dword, number, {}});
    }
    void put_string(const QString& path, const QString& name, const QString& text) {
        put(path, name, {Type::string, 0, text});
    }

    bool has_key(const QString& path, RegistryRoot root = RegistryRoot::local_machine) const {
        return keys_.contains(id(root, path));
    }
    std::optional<Value> value(const QString& path, const QString& name,
                               RegistryRoot root = RegistryRoot::local_machine) const {
        const auto key = values_.find(id(root, path));
        if (key == values_.end() || !key->contains(name.toUpper()))
            return std::nullopt;
        return key->value(name.toUpper());
    }

    // Opening fails even for a key that exists (access refused).
    bool refuse_open = false;
    // Creating a missing key fails.
    bool refuse_create = false;
    // Writes after this many successful ones fail; negative: none fails.
    int writes_allowed = -1;
    // Names of the values written successfully, in order.
    QStringList writes;
    // How many keys were opened, with or without creation.
    int opens = 0;

    std::unique_ptr<RegistryKey> open_key(RegistryRoot root, const QString& path, bool create) override {
        ++opens;
        const QString key = id(root, path);
        if (refuse_open)
            return nullptr;
        if (!keys_.contains(key)) {
            if (!create || refuse_create)
                return nullptr;
            keys_.insert(key);
        }
        return std::make_unique<Key>(*this, key);
    }

private:
    static QString id(RegistryRoot root, const QString& path) {
        const QString relative = path.startsWith(QLatin1Char('\\')) ? path.mid(1) : path;
        return QString::number(static_cast<int>(root)) + QLatin1Char(':') + relative.toUpper();
    }

    class Key final : public RegistryKey {
    public:
        Key(FakeRegistry& registry, QString key) : registry_(registry), key_(std::move(key)) {}

        RegistryDword read_dword(const QString& name) override {
            const Value* value = find(name);
            if (!value)
                return {};
            if (value->type != Type::dword)
                return {RegistryReadStatus::wrong_type, 0};
            return {RegistryReadStatus::ok, value->number};
        }
        RegistryString read_string(const QString& name) override {
            const Value* value = find(name);
            if (!value)
                return {};
            if (value->type != Type::string && value->type != Type::expand_string)
                return {RegistryReadStatus::wrong_type, {}};
            return {RegistryReadStatus::ok, value->text.left(value->text.indexOf(QChar(0)))};
        }
        bool write_dword(const QString& name, std::uint32_t number) override {
            return write(name, {Type::dword, number, {}});
        }
        bool write_string(const QString& name, const QString& text) override {
            return write(name, {Type::string, 0, text});
        }

    private:
        const Value* find(const QString& name) const {
            const auto key = registry_.values_.find(key_);
            if (key == registry_.values_.end())
                return nullptr;
            const auto value = key->find(name.toUpper());
            return value == key->end() ? nullptr : &*value;
        }
        bool write(const QString& name, Value value) {
            if (registry_.writes_allowed >= 0 && registry_.writes.size() >= registry_.writes_allowed)
                return false;
            registry_.values_[key_][name.toUpper()] = std::move(value);
            registry_.writes.append(name);
            return true;
        }

        FakeRegistry& registry_;
        QString key_;
    };

    QSet<QString> keys_;
    QMap<QString, QMap<QString, Value>> values_;
};

} // namespace kelvox
