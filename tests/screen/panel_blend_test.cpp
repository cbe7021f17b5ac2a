#include "screen/panel_blend.h"

#include "platform/bitmap.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

// One pixel of relief over one target pixel (blue 30, green 60, red 90: brightness 60).
Pixel blend_one(int relief_value, int level) {
    Bitmap relief(1, 1);
    relief.ScanLine(0)[0] = make_pixel(static_cast<uint8_t>(relief_value), 0, 0);
    Bitmap target(1, 1);
    target.ScanLine(0)[0] = make_pixel(30, 60, 90);
    panel_blend(ReliefPlane(relief), target, level);
    return target.ScanLine(0)[0];
}

TEST(PanelBlend, TintsByTheReliefsBlueByteAndTheLevel) {
    struct Case {
        int relief, level, grey;
    };
    const Case cases[] = {
        {0, 16, 0},     {127, 16, 58},  {205, 16, 214},
        {255, 16, 245},                               // capped at 245
        {0, 0, 60},     {205, 0, 60},   {255, 0, 60}, // level 0: its own brightness
        {0, 17, 0},     {205, 17, 223}, {255, 17, 245},
        {127, 17, 58}, // (−2 × 17) / 16 truncates toward zero: −2, not −3
        {1, 1, 45},    // (−254) / 16 = −15
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "relief " << c.relief << " level " << c.level);
        const Pixel p = blend_one(c.relief, c.level);
        EXPECT_EQ(pixel_red(p), c.grey);
        EXPECT_EQ(pixel_blue(p), c.grey);
        EXPECT_EQ(pixel_green(p), c.grey + 10);
    }
}

TEST(PanelBlend, MidGreyLeavesTheBackgroundAloneAtEveryLevel) {
    for (int level : {0, 8, 16, 17}) {
        const Pixel p = blend_one(128, level);
        EXPECT_EQ(p, make_pixel(30, 60, 90)) << level;
    }
}

TEST(PanelBlend, ServesMessagesAfterEveryRowAndSurvivesAHandlerThatReleasesThePicture) {
    const ReliefPlane relief(Bitmap(4, 10));
    Bitmap target(4, 10);
    int rows = 0;
    panel_blend(relief, target, 16, [&] { ++rows; });
    EXPECT_EQ(rows, 10);

    rows = 0;
    panel_blend(relief, target, 16, [&] {
        if (++rows == 3)
            target = Bitmap(); // the window closed while the frame was being tinted
    });
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(target.Empty());
}

} // namespace
} // namespace kelvox
