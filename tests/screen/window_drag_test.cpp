#include "screen/window_drag.h"

#include "platform/form.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

// Coordinates are the grip strip's own, and the strip moves with the window.
TEST(WindowDragging, TheGrabbedPointStaysUnderThePointerUntilRelease) {
    QtApplicationReady qt;
    Form window;
    window.SetPosition(127, 136);
    WindowDrag drag(window);
    drag.chwytMouseMove(50, 5); // no press: nothing
    EXPECT_EQ(window.Left(), 127);
    drag.chwytMouseDown(60, 5);
    drag.chwytMouseMove(50, 2);
    EXPECT_EQ(window.Left(), 117);
    EXPECT_EQ(window.Top(), 133);
    drag.chwytMouseMove(60, 5); // the pointer still, over the moved strip: the grabbed point again
    EXPECT_EQ(window.Left(), 117);
    EXPECT_EQ(window.Top(), 133);
    drag.chwytMouseUp();
    drag.chwytMouseMove(80, 9);
    EXPECT_EQ(window.Left(), 117);
}

} // namespace
} // namespace kelvox::test
