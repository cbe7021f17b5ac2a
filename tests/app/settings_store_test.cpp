#include "app/settings_store.h"

#include "platform/registry/registry_file.h"
#include "tests/support/fake_message_boxes.h"
#include "tests/support/fake_registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace kelvox {
namespace {

using Type = FakeRegistry::Type;

const QString kVersionKey = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion");

// Every field the opposite of its default, so a test sees which ones were set.
MenuSettings opposite_of_defaults() {
    return {false, false, true, QStringLiteral("tapeta#2.bmp"), false, false};
}

MenuSettings defaults() {
    MenuSettings settings;
    set_default_settings(settings);
    return settings;
}

void expect_settings(const MenuSettings& actual, const MenuSettings& expected) {
    EXPECT_EQ(actual.full_screen, expected.full_screen);
    EXPECT_EQ(actual.animations, expected.animations);
    EXPECT_EQ(actual.show_taskbar, expected.show_taskbar);
    EXPECT_EQ(actual.wallpaper, expected.wallpaper);
    EXPECT_EQ(actual.sound, expected.sound);
    EXPECT_EQ(actual.is_win95, expected.is_win95);
}

void put_all(FakeRegistry& registry, std::uint32_t full_screen, std::uint32_t animations,
             std::uint32_t taskbar, const QString& wallpaper, std::uint32_t sound) {
    registry.put_dword(kSettingsKeyPath, QStringLiteral("PELNY_EKRAN"), full_screen);
    registry.put_dword(kSettingsKeyPath, QStringLiteral("ANIMACJE"), animations);
    registry.put_dword(kSettingsKeyPath, QStringLiteral("PASEK_ZADAN"), taskbar);
    registry.put_string(kSettingsKeyPath, QStringLiteral("TAPETA"), wallpaper);
    registry.put_dword(kSettingsKeyPath, QStringLiteral("DZWIEK"), sound);
}

struct ReadCase {
    const char* what;
    std::function<void(FakeRegistry&)> prepare;
    MenuSettings expected;
    bool message;
};

TEST(ReadSettings, TakesTheStoredValuesOrFallsBackToAllDefaults) {
    const ReadCase cases[] = {
        {"no key (first start)", [](FakeRegistry&) {}, defaults(), false},
        {"key refused",
         [](FakeRegistry& r) {
             put_all(r, 0, 0, 1, QStringLiteral("brak"), 0);
             r.refuse_open = true;
         },
         defaults(), false},
        {"all five stored",
         [](FakeRegistry& r) { put_all(r, 0, 1, 1, QStringLiteral("brak"), 0); },
         {false, true, true, QStringLiteral("brak"), false, false},
         false},
        {"any non-zero is on",
         [](FakeRegistry& r) { put_all(r, 2, 0xFFFFFFFF, 7, QStringLiteral("x.bmp"), 1); },
         {true, true, true, QStringLiteral("x.bmp"), true, false},
         false},
        {"an empty key", [](FakeRegistry& r) { r.add_key(kSettingsKeyPath); }, defaults(), true},
        {"only some values, those read are dropped too",
         [](FakeRegistry& r) {
             r.put_dword(kSettingsKeyPath, QStringLiteral("PELNY_EKRAN"), 0);
             r.put_dword(kSettingsKeyPath, QStringLiteral("ANIMACJE"), 0);
         },
         defaults(), true},
        {"the last boolean of another type",
         [](FakeRegistry& r) {
             put_all(r, 0, 0, 1, QStringLiteral("brak"), 0);
             r.put(kSettingsKeyPath, QStringLiteral("DZWIEK"), {Type::binary, 0, {}});
         },
         defaults(), true},
        {"a boolean stored as a string",
         [](FakeRegistry& r) {
             put_all(r, 0, 0, 1, QStringLiteral("brak"), 0);
             r.put_string(kSettingsKeyPath, QStringLiteral("PASEK_ZADAN"), QStringLiteral("1"));
         },
         defaults(), true},
        {"TAPETA stored as a number",
         [](FakeRegistry& r) {
             put_all(r, 0, 0, 1, QStringLiteral("brak"), 0);
             r.put_dword(kSettingsKeyPath, QStringLiteral("TAPETA"), 1);
         },
         defaults(), true},
        {"TAPETA as an expandable string",
         [](FakeRegistry& r) {
             put_all(r, 0, 0, 1, {}, 0);
             r.put(kSettingsKeyPath, QStringLiteral("TAPETA"),
                   {Type::expand_string, 0, QStringLiteral("%X%.bmp")});
         },
         {false, false, true, QStringLiteral("%X%.bmp"), false, false},
         false},
        {"TAPETA missing reads as empty",
         [](FakeRegistry& r) {
             r.put_dword(kSettingsKeyPath, QStringLiteral("PELNY_EKRAN"), 0);
             r.put_dword(kSettingsKeyPath, QStringLiteral("ANIMACJE"), 1);
             r.put_dword(kSettingsKeyPath, QStringLiteral("PASEK_ZADAN"), 0);
             r.put_dword(kSettingsKeyPath, QStringLiteral("DZWIEK"), 1);
         },
         {false, true, false, QString(), true, false},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        c.prepare(registry);
        const bool had_key = registry.has_key(kSettingsKeyPath);
        FakeMessageBoxes messages;
        MenuSettings settings = opposite_of_defaults();
        read_settings(settings, registry, messages);
        expect_settings(settings, c.expected);
        EXPECT_EQ(messages.shown, c.message ? QStringList{kReadFailedMessage} : QStringList{});
        EXPECT_EQ(registry.has_key(kSettingsKeyPath), had_key) << "reading created the key";
        EXPECT_TRUE(registry.writes.isEmpty());
    }
}

TEST(DetectWin95, LooksFor95InTheProductName) {
    const struct {
        const char* what;
        std::function<void(FakeRegistry&)> prepare;
        bool is_win95;
    } cases[] = {
        {"Windows 95",
         [](FakeRegistry& r) {
             r.put_string(kVersionKey, QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 95"));
         },
         true},
        {"95 anywhere",
         [](FakeRegistry& r) {
             r.put_string(kVersionKey, QStringLiteral("ProductName"), QStringLiteral("W95x"));
         },
         true},
        {"Windows 98",
         [](FakeRegistry& r) {
             r.put_string(kVersionKey, QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 98"));
         },
         false},
        {"9 and 5 apart",
         [](FakeRegistry& r) {
             r.put_string(kVersionKey, QStringLiteral("ProductName"), QStringLiteral("9 5"));
         },
         false},
        {"no ProductName", [](FakeRegistry& r) { r.add_key(kVersionKey); }, false},
        {"ProductName of another type",
         [](FakeRegistry& r) { r.put_dword(kVersionKey, QStringLiteral("ProductName"), 95); }, false},
        {"no version key", [](FakeRegistry&) {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        c.prepare(registry);
        MenuSettings settings = opposite_of_defaults();
        detect_win95(settings, registry);
        MenuSettings expected = opposite_of_defaults();
        expected.is_win95 = c.is_win95;
        expected.full_screen = c.is_win95;
        expect_settings(settings, expected);
    }
}

TEST(DetectWin95, ForcesFullScreenOverTheStoredSetting) {
    FakeRegistry registry;
    put_all(registry, 0, 1, 0, QStringLiteral("tapeta.bmp"), 1);
    registry.put_string(kVersionKey, QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 95"));
    FakeMessageBoxes messages;
    MenuSettings settings;
    read_settings(settings, registry, messages);
    EXPECT_FALSE(settings.full_screen);
    detect_win95(settings, registry);
    EXPECT_TRUE(settings.is_win95);
    EXPECT_TRUE(settings.full_screen);
}

const QStringList kAllFive = {QStringLiteral("PELNY_EKRAN"), QStringLiteral("ANIMACJE"),
                              QStringLiteral("PASEK_ZADAN"), QStringLiteral("TAPETA"),
                              QStringLiteral("DZWIEK")};

TEST(SaveSettings, WritesAllFiveInOrderEveryTime) {
    FakeRegistry registry;
    FakeMessageBoxes messages;
    const MenuSettings settings{true, false, true, QStringLiteral("brak"), false, false};
    save_settings(settings, registry, messages);
    save_settings(settings, registry, messages);
    EXPECT_EQ(registry.writes, kAllFive + kAllFive);
    EXPECT_TRUE(messages.shown.isEmpty());
    const std::uint32_t numbers[] = {1, 0, 1, 0, 0};
    for (int i = 0; i < 5; ++i) {
        const auto value = registry.value(kSettingsKeyPath, kAllFive[i]);
        ASSERT_TRUE(value);
        if (i == 3) {
            EXPECT_EQ(value->type, Type::string);
            EXPECT_EQ(value->text, QStringLiteral("brak"));
        } else {
            EXPECT_EQ(value->type, Type::dword);
            EXPECT_EQ(value->number, numbers[i]) << kAllFive[i].toStdString();
        }
    }
}

TEST(SaveSettings, AFailingWriteKeepsTheEarlierOnesAndSaysSo) {
    for (int allowed = 0; allowed < 5; ++allowed) {
        SCOPED_TRACE(allowed);
        FakeRegistry registry;
        put_all(registry, 0, 0, 0, QStringLiteral("stara.bmp"), 0);
        registry.writes_allowed = allowed;
        FakeMessageBoxes messages;
        save_settings({true, true, true, QStringLiteral("brak"), true, false}, registry, messages);
        EXPECT_EQ(registry.writes, kAllFive.mid(0, allowed));
        EXPECT_EQ(messages.shown, QStringList{kSaveFailedMessage});
        for (int i = 0; i < 5; ++i) {
            const auto value = registry.value(kSettingsKeyPath, kAllFive[i]);
            ASSERT_TRUE(value);
            const bool written = i < allowed;
            if (i == 3)
                EXPECT_EQ(value->text, written ? QStringLiteral("brak") : QStringLiteral("stara.bmp"));
            else
                EXPECT_EQ(value->number, written ? 1u : 0u) << kAllFive[i].toStdString();
        }
    }
}

TEST(SaveSettings, AKeyThatCanNeitherBeOpenedNorCreatedIsAFailedSave) {
    const struct {
        const char* what;
        bool key_exists, refuse_open, refuse_create;
        bool saved;
    } cases[] = {
        {"missing key is created", false, false, false, true},
        {"missing key cannot be created", false, false, true, false},
        {"existing key refused", true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        if (c.key_exists)
            registry.add_key(kSettingsKeyPath);
        registry.refuse_open = c.refuse_open;
        registry.refuse_create = c.refuse_create;
        FakeMessageBoxes messages;
        save_settings(defaults(), registry, messages);
        EXPECT_EQ(registry.writes, c.saved ? kAllFive : QStringList{});
        EXPECT_EQ(messages.shown, c.saved ? QStringList{} : QStringList{kSaveFailedMessage});
    }
}

// The settings through the registry file the menu uses off Windows.
class SettingsFileTest : public testing::Test {
protected:
    QString path() const { return dir_.filePath(QStringLiteral("registry.reg")); }
    QByteArray file_bytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    FileRegistry registry_{path()};
    FakeMessageBoxes messages_;
};

TEST_F(SettingsFileTest, FirstStartCreatesNoFile) {
    MenuSettings settings;
    read_settings(settings, registry_, messages_);
    detect_win95(settings, registry_);
    expect_settings(settings, defaults());
    EXPECT_TRUE(messages_.shown.isEmpty());
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(SettingsFileTest, ATwoReadsAsOnAndIsSavedAsOne) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n\"PELNY_EKRAN\"=dword:00000002\n"
        "\"ANIMACJE\"=dword:00000000\n\"PASEK_ZADAN\"=dword:00000000\n\"TAPETA\"=\"tapeta#2.bmp\"\n"
        "\"DZWIEK\"=dword:00000001\n");
    file.close();
    MenuSettings settings;
    read_settings(settings, registry_, messages_);
    expect_settings(settings, {true, false, false, QStringLiteral("tapeta#2.bmp"), true, false});
    save_settings(settings, registry_, messages_);
    EXPECT_EQ(
        file_bytes().toStdString(),
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n\"PELNY_EKRAN\"=dword:00000001\n"
        "\"ANIMACJE\"=dword:00000000\n\"PASEK_ZADAN\"=dword:00000000\n\"TAPETA\"=\"tapeta#2.bmp\"\n"
        "\"DZWIEK\"=dword:00000001\n");
    EXPECT_TRUE(messages_.shown.isEmpty());
}

TEST_F(SettingsFileTest, ACorruptFileGivesDefaultsAndAFailedSave) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a registry\n");
    file.close();
    MenuSettings settings;
    read_settings(settings, registry_, messages_);
    expect_settings(settings, defaults());
    save_settings(settings, registry_, messages_);
    EXPECT_EQ(messages_.shown, QStringList{kSaveFailedMessage});
    EXPECT_EQ(file_bytes(), QByteArray("not a registry\n"));
}

} // namespace
} // namespace kelvox
