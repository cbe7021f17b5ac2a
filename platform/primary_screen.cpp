#include "platform/primary_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelvox {

int PrimaryScreen::width() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 0;
}

int PrimaryScreen::height() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

} // namespace kelvox
