// kelvox-make-demo-disc DISC-ROOT: writes the demo disc.
// kelvox-make-demo-disc --preview DISC-ROOT OUT.png: composes a still of the menu from a written disc.
#include "tools/make_demo_disc/demo_disc.h"
#include "tools/make_demo_disc/mock_screen.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    try {
        if (arguments.size() == 4 && arguments[1] == QStringLiteral("--preview")) {
            if (!kelvox::demo::compose_mock_screen(arguments[2]).save(arguments[3]))
                throw std::runtime_error("cannot write " + arguments[3].toStdString());
            return 0;
        }
        if (arguments.size() != 2) {
            std::fprintf(stderr, "usage: %s DISC-ROOT | --preview DISC-ROOT OUT.png\n", argv[0]);
            return 2;
        }
        kelvox::demo::make_demo_disc(arguments[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
