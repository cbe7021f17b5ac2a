// The application object: minimising and restoring the program as a whole, and its message loop.
#include "platform/application.h"
#include "platform/form.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvox {
namespace {

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() {
        application->SetMainForm(&form);
        application->OnMinimize = [this] { ++minimized; };
        application->OnRestore = [this] { ++restored; };
        form.SetClientSize(40, 30);
        form.Show();
    }

    test::QtApplicationReady qt;
    int argc = 1;
    char name[16] = "kelvox-test";
    char* argv[2] = {name, nullptr};
    Form form;
    std::unique_ptr<Application> application = std::make_unique<Application>(argc, argv);
    int minimized = 0;
    int restored = 0;
};

TEST_F(ApplicationTest, MinimiseAndRestoreRaiseTheirEventOnceEachWhoeverReportsThem) {
    // The window reports its own state change and the application reports it too where the platform
    // does not: the handlers (which hide and show the desktop's taskbar) must run once, not twice.
    application->Minimize();
    application->ProcessMessages();
    EXPECT_EQ(minimized, 1);
    application->Minimize();
    EXPECT_EQ(minimized, 1) << "minimised twice over";
    application->Restore();
    application->ProcessMessages();
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(form.Minimized());
    application->Restore();
    EXPECT_EQ(restored, 1);
}

TEST_F(ApplicationTest, TheWindowMinimisedByTheDesktopMinimisesTheApplication) {
    form.Minimize(); // as the window manager's button would
    application->ProcessMessages();
    EXPECT_EQ(minimized, 1);
    form.Restore();
    application->ProcessMessages();
    EXPECT_EQ(restored, 1);
}

TEST_F(ApplicationTest, TheWindowOutlivingTheApplicationNoLongerCallsIt) {
    application.reset();
    EXPECT_EQ(Application::Instance(), nullptr);
    form.Minimize(); // would reach the destroyed application through the window's hooks
    form.Restore();
    EXPECT_EQ(minimized, 0);
}

TEST_F(ApplicationTest, TerminateBeforeTheLoopMakesTheLoopReturnAtOnce) {
    // A start that fails before the loop (a missing skin file) terminates first; the program must
    // then end instead of waiting in a loop nobody will quit.
    EXPECT_EQ(Application::Instance(), application.get());
    application->Terminate();
    EXPECT_TRUE(application->Terminated());
    EXPECT_EQ(application->Run(), 0);
}

} // namespace
} // namespace kelvox
