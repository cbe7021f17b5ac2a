#pragma once
// The application object: one per process, created first by the program entry. It owns the toolkit's
// application, runs the message loop and minimises and restores the program as a whole.
#include "platform/mouse.h"

#include <QString>

#include <memory>

namespace kelvox {

class Form;

class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one instance, or null before it is created.
    static Application* Instance();

    void SetTitle(const QString& title);
    QString Title() const { return title_; }

    // The window whose minimising and restoring is the application's; OnMinimize and OnRestore are
    // raised for it whether the program or the user (through the desktop) does it.
    void SetMainForm(Form* form);

    // Runs the message loop until Terminate(); returns at once when Terminate() came first.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Delivers pending events (pointer, paint, timers) from inside a handler.
    void ProcessMessages();
    // Sleeps until events come, then delivers them: a handler's wait for the user that keeps the
    // window served without keeping the processor busy.
    void WaitForMessages();

    void Minimize();
    void Restore();

    NotifyEvent OnMinimize;
    NotifyEvent OnRestore;

private:
    void MinimizedChanged(bool minimized);

    // The toolkit's application object, when this one made it.
    struct Native;
    std::unique_ptr<Native> native_;
    QString title_;
    Form* main_form_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
};

} // namespace kelvox
