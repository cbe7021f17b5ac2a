#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

TEST(WindowDragging, TheGrabbedPointStaysUnderThePointerUntilRelease) {
    WindowFixture fixture;
    fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    ASSERT_EQ(window.Left(), 127);
    window.screen.window_drag.chwytMouseMove(50, 5); // no press: nothing
    EXPECT_EQ(window.Left(), 127);
    fixture.window->DispatchMouseDown(700, 5);
    fixture.window->DispatchMouseMove(690, 2);
    EXPECT_EQ(window.Left(), 117);
    EXPECT_EQ(window.Top(), 133);
    fixture.window->DispatchMouseUp(690, 2);
    window.screen.window_drag.chwytMouseMove(720, 9);
    EXPECT_EQ(window.Left(), 117);
}

} // namespace
} // namespace kelvox::test
