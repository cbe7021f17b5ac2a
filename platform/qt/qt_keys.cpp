#include "platform/qt/qt_keys.h"

#include "platform/keys.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace kelvox {

namespace {

constexpr std::array<std::pair<int, Qt::Key>, 12> kNamedKeys{{
    {kVirtualKeyTab, Qt::Key_Tab},
    {kVirtualKeyReturn, Qt::Key_Return},
    {kVirtualKeyEscape, Qt::Key_Escape},
    {kVirtualKeySpace, Qt::Key_Space},
    {kVirtualKeyPageUp, Qt::Key_PageUp},
    {kVirtualKeyPageDown, Qt::Key_PageDown},
    {kVirtualKeyEnd, Qt::Key_End},
    {kVirtualKeyHome, Qt::Key_Home},
    {kVirtualKeyLeft, Qt::Key_Left},
    {kVirtualKeyUp, Qt::Key_Up},
    {kVirtualKeyRight, Qt::Key_Right},
    {kVirtualKeyDown, Qt::Key_Down},
}};

} // namespace

int virtual_key_of(const QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Enter)
        return kVirtualKeyReturn;
    if (key == Qt::Key_Backtab)
        return kVirtualKeyTab;
    for (const auto& [virtual_key, qt_key] : kNamedKeys)
        if (key == qt_key)
            return virtual_key;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key; // Windows uses the same codes for digits and letters
    return 0;
}

Qt::Key qt_key_of(int virtual_key) {
    for (const auto& [code, qt_key] : kNamedKeys)
        if (code == virtual_key)
            return qt_key;
    return static_cast<Qt::Key>(virtual_key);
}

QString text_of(int virtual_key) {
    if (virtual_key == kVirtualKeyReturn)
        return QStringLiteral("\r");
    if (virtual_key == kVirtualKeySpace)
        return QStringLiteral(" ");
    if ((virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z'))
        return QString(QChar(virtual_key)).toLower();
    return {};
}

} // namespace kelvox
