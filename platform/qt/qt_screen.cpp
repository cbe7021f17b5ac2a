#include "platform/qt/qt_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelvox {

int QtScreen::width() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

int QtScreen::height() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

} // namespace kelvox
