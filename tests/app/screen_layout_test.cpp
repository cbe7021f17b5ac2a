#include "app/screen_layout.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

struct FullScreenCase {
    int width, height;
    int content_top;
};

TEST(ScreenLayout, FullScreenCentresTheBandVertically) {
    const FullScreenCase cases[] = {
        {1024, 768, 144},
        {800, 600, 60},
        {800, 601, 60},
        {1920, 1080, 300},
        // Lower than the band: the top stays at 0 instead of wrapping round in the unsigned field.
        {640, 479, 0},
        {640, 400, 0},
        {640, 480, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const ScreenLayout layout = compute_screen_layout(c.width, c.height, true, false);
        EXPECT_EQ(layout.content_top, c.content_top);
        EXPECT_EQ(layout.layout_width, c.width);
        EXPECT_EQ(layout.layout_height, c.height);
        EXPECT_EQ(layout.window_left, 0);
        EXPECT_EQ(layout.window_top, 0);
        EXPECT_EQ(layout.client_width, c.width);
        EXPECT_EQ(layout.client_height, c.height);
        EXPECT_EQ(layout.region, ScreenLayout::Region::Rectangle);
    }
}

TEST(ScreenLayout, Windows95FullScreenGetsNoRegion) {
    EXPECT_EQ(compute_screen_layout(1024, 768, true, true).region, ScreenLayout::Region::None);
}

TEST(ScreenLayout, WindowModeIsCentredWithItsCutOutline) {
    const ScreenLayout layout = compute_screen_layout(1024, 768, false, false);
    EXPECT_EQ(layout.layout_width, 770);
    EXPECT_EQ(layout.layout_height, 496);
    EXPECT_EQ(layout.content_top, 16);
    EXPECT_EQ(layout.window_left, 127);
    EXPECT_EQ(layout.window_top, 136);
    EXPECT_EQ(layout.client_width, 770);
    EXPECT_EQ(layout.client_height, 496);
    ASSERT_EQ(layout.region, ScreenLayout::Region::Polygon);
    const QVector<QPoint> expected = {{0, 12},    {592, 12},  {604, 0},   {770, 0},
                                      {770, 482}, {187, 482}, {174, 495}, {0, 495}};
    EXPECT_EQ(layout.polygon, expected);
    // Odd sizes truncate before the half window is taken off.
    const ScreenLayout odd = compute_screen_layout(1025, 769, false, false);
    EXPECT_EQ(odd.window_left, 127);
    EXPECT_EQ(odd.window_top, 136);
}

} // namespace
} // namespace kelvox
