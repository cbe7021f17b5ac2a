#include "app/settings_store.h"

namespace kelvox {
namespace {

const QString kFullScreen = QStringLiteral("PELNY_EKRAN");
const QString kAnimations = QStringLiteral("ANIMACJE");
const QString kShowTaskbar = QStringLiteral("PASEK_ZADAN");
const QString kWallpaper = QStringLiteral("TAPETA");
const QString kSound = QStringLiteral("DZWIEK");

const QString kWindowsVersionKeyPath = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion");
const QString kProductName = QStringLiteral("ProductName");

bool read_bool(RegistryKey& key, const QString& name, bool& field) {
    const RegistryDword read = key.read_dword(name);
    if (read.status != RegistryReadStatus::ok)
        return false;
    field = read.value != 0;
    return true;
}

bool read_text(RegistryKey& key, const QString& name, QString& field) {
    const RegistryString read = key.read_string(name);
    if (read.status == RegistryReadStatus::wrong_type)
        return false;
    field = read.value; // empty when missing
    return true;
}

bool write_bool(RegistryKey& key, const QString& name, bool value) {
    return key.write_dword(name, value ? 1 : 0);
}

} // namespace

void set_default_settings(MenuSettings& settings) {
    settings.full_screen = true;
    settings.animations = true;
    settings.show_taskbar = false;
    settings.wallpaper = QStringLiteral("tapeta.bmp");
    settings.sound = true;
}

void read_settings(MenuSettings& settings, Registry& registry, MessageBoxes& messages) {
    const auto key = registry.open_key(RegistryRoot::local_machine, kSettingsKeyPath, false);
    if (!key) {
        set_default_settings(settings);
        return;
    }
    // In this order, stopping at the first that fails.
    const bool complete = read_bool(*key, kFullScreen, settings.full_screen) &&
                          read_bool(*key, kAnimations, settings.animations) &&
                          read_bool(*key, kShowTaskbar, settings.show_taskbar) &&
                          read_text(*key, kWallpaper, settings.wallpaper) &&
                          read_bool(*key, kSound, settings.sound);
    if (!complete) {
        set_default_settings(settings);
        messages.show(kReadFailedMessage);
    }
}

void detect_win95(MenuSettings& settings, Registry& registry) {
    const auto key = registry.open_key(RegistryRoot::local_machine, kWindowsVersionKeyPath, false);
    if (!key)
        return;
    // A missing name reads as empty; so does one of another type, which only means "not Windows 95".
    const RegistryString product = key->read_string(kProductName);
    settings.is_win95 =
        product.status == RegistryReadStatus::ok && product.value.contains(QLatin1String("95"));
    if (settings.is_win95)
        settings.full_screen = true;
}

void save_settings(const MenuSettings& settings, Registry& registry, MessageBoxes& messages) {
    const auto key = registry.open_key(RegistryRoot::local_machine, kSettingsKeyPath, true);
    // In this order, stopping at the first that fails.
    const bool saved = key && write_bool(*key, kFullScreen, settings.full_screen) &&
                       write_bool(*key, kAnimations, settings.animations) &&
                       write_bool(*key, kShowTaskbar, settings.show_taskbar) &&
                       key->write_string(kWallpaper, settings.wallpaper) &&
                       write_bool(*key, kSound, settings.sound);
    if (!saved)
        messages.show(kSaveFailedMessage);
}

} // namespace kelvox
