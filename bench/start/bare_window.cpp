// The yardstick of the start benchmark: a frameless Qt window and nothing else, as large as the menu's
// window in its first start (the whole screen), so that both pay the same for their window.
#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    return QApplication::exec();
}
