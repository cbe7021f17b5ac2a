#pragma once
// The five user settings the menu keeps in the registry, and the Windows 95 test made at start.
//
// Key HKEY_LOCAL_MACHINE "\SOFTWARE\Kelvox cover menu":
//   PELNY_EKRAN  dword   full_screen   (default on)
//   ANIMACJE     dword   animations    (default on)
//   PASEK_ZADAN  dword   show_taskbar  (default off: the taskbar is hidden while the menu runs)
//   TAPETA       string  wallpaper     (default "tapeta.bmp"; "brak" for no picture)
//   DZWIEK       dword   sound         (default on)
// Booleans are stored as 1 and 0; any non-zero value reads as on.
#include "platform/message_boxes.h"
#include "platform/registry.h"
#include "screen/menu_state.h"

#include <QString>

namespace kelvox {

inline const QString kSettingsKeyPath = QStringLiteral("\\SOFTWARE\\Kelvox cover menu");
inline const QString kReadFailedMessage = QStringLiteral("Nie można odczytać danych z Rejestru");
// Windows refuses a reader without administrator rights the key under HKEY_LOCAL_MACHINE: he is told
// why, and that the menu goes on with what he chose.
inline const QString kSaveFailedMessage = QString::fromUtf8(
    "Nie udało się zapisać ustawień do rejestru (być może zapis wymaga uprawnień administratora). "
    "Wybrane ustawienia obowiązują do zamknięcia menu.");

// Gives the five settings their defaults; is_win95 is left alone.
void set_default_settings(MenuSettings& settings);

// Fills the five settings from the registry. A missing key (first start) or one that cannot be opened
// gives the defaults silently, without creating the key. A boolean that is missing or not a 32-bit
// value, or a TAPETA that is not a string, gives the defaults for all five and the read-failure
// message. A missing TAPETA is no failure: wallpaper is then empty.
void read_settings(MenuSettings& settings, Registry& registry, MessageBoxes& messages);

// Sets is_win95 when the system's product name contains "95", and then forces full screen.
void detect_win95(MenuSettings& settings, Registry& registry);

// Writes all five settings, creating the key when needed; stops at the first value that cannot be
// written (those before it stay written) and shows the save-failure message. A key that can be
// neither opened nor created shows the same message, since nothing was saved.
void save_settings(const MenuSettings& settings, Registry& registry, MessageBoxes& messages);

} // namespace kelvox
