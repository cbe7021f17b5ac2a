#include "platform/application.h"

#include "platform/form.h"
#include "platform/qt/qt_start_up_work.h"

#include <QApplication>
#include <QEventLoop>

namespace kelvox {

namespace {

Application* instance = nullptr;

void raise(const NotifyEvent& event) {
    if (event) {
        NotifyEvent handler = event;
        handler();
    }
}

} // namespace

// The start's own work runs beside the toolkit's start and ends before the toolkit does.
struct Application::Native {
    Native(int& argc, char** argv) : work(std::make_unique<StartUpWork>()), application(argc, argv) {
        work->WaitForFonts();
        // Only a platform with a bridge to screen readers connects to the bus, when the window shows.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            work->ConnectSessionBus();
    }
    ~Native() { work.reset(); }
    std::unique_ptr<StartUpWork> work;
    QApplication application;
};

Application::Application(int& argc, char** argv) {
    // A test program may have made Qt's application already; there is only ever one.
    if (QApplication::instance() == nullptr)
        native_ = std::make_unique<Native>(argc, argv);
    instance = this;
}

Application::~Application() {
    if (main_form_ != nullptr) {
        main_form_->OnWindowMinimized = nullptr;
        main_form_->OnWindowRestored = nullptr;
    }
    if (instance == this)
        instance = nullptr;
}

Application* Application::Instance() {
    return instance;
}

void Application::SetTitle(const QString& title) {
    title_ = title;
    QGuiApplication::setApplicationDisplayName(title);
}

void Application::SetMainForm(Form* form) {
    main_form_ = form;
    if (form == nullptr)
        return;
    form->OnWindowMinimized = [this] { MinimizedChanged(true); };
    form->OnWindowRestored = [this] { MinimizedChanged(false); };
}

void Application::MinimizedChanged(bool minimized) {
    if (minimized == minimized_)
        return;
    minimized_ = minimized;
    raise(minimized ? OnMinimize : OnRestore);
}

int Application::Run() {
    if (terminated_)
        return 0;
    return QApplication::exec();
}

void Application::Terminate() {
    terminated_ = true;
    QCoreApplication::quit();
}

void Application::ProcessMessages() {
    QCoreApplication::processEvents();
}

void Application::WaitForMessages() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The window's own state change raises the event when the platform reports it at once; where it
// does not (a hidden window, no window manager), the event is raised here so it never goes missing.
void Application::Minimize() {
    if (main_form_ != nullptr)
        main_form_->Minimize();
    MinimizedChanged(true);
}

void Application::Restore() {
    if (main_form_ != nullptr)
        main_form_->Restore();
    MinimizedChanged(false);
}

} // namespace kelvox
