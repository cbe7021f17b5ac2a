// Image lists: cells cut from bitmaps, drawn without their transparent colour.
#include "platform/bitmap.h"
#include "platform/image_list.h"
#include "platform/platform_error.h"
#include "tests/support/qt_application.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

constexpr Colour kGrey = 0x8D8D8D;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;

// A 4 × 2 picture: grey (transparent) everywhere except a red left column and a blue pixel at (2, 1).
Bitmap picture() {
    Bitmap bitmap(4, 2);
    Canvas& canvas = bitmap.Canvas();
    canvas.brush.colour = kGrey;
    canvas.FillRect({0, 0, 4, 2});
    canvas.SetPixel(0, 0, kRed);
    canvas.SetPixel(0, 1, kRed);
    canvas.SetPixel(2, 1, kBlue);
    return bitmap;
}

Bitmap white_target() {
    return Bitmap(6, 4);
}

class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override { test::qt_application(); }
};

TEST_F(ImageListTest, DrawLeavesOutTheTransparentColour) {
    ImageList list(4, 2);
    list.SetTransparentColour(kGrey);
    EXPECT_EQ(list.Add(picture()), 0);
    Bitmap target = white_target();
    list.Draw(target.Canvas(), 1, 1, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            Colour expected = kWhite;
            if (x == 1 && (y == 1 || y == 2))
                expected = kRed;
            if (x == 3 && y == 2)
                expected = kBlue;
            EXPECT_EQ(target.Canvas().PixelAt(x, y), expected) << x << "," << y;
        }
}

TEST_F(ImageListTest, TheColourTransparentWhenACellWasAddedIsTheOneLeftOut) {
    ImageList list(4, 2);
    list.SetTransparentColour(kRed);
    list.Add(picture());
    list.SetTransparentColour(kGrey); // later change: cell 0 keeps red as its transparent colour
    list.Add(picture());
    Bitmap first = white_target();
    list.Draw(first.Canvas(), 0, 0, 0);
    EXPECT_EQ(first.Canvas().PixelAt(0, 0), kWhite);
    EXPECT_EQ(first.Canvas().PixelAt(1, 0), kGrey);
    Bitmap second = white_target();
    list.Draw(second.Canvas(), 0, 0, 1);
    EXPECT_EQ(second.Canvas().PixelAt(0, 0), kRed);
    EXPECT_EQ(second.Canvas().PixelAt(1, 0), kWhite);
}

TEST_F(ImageListTest, WideBitmapsAreCutIntoCellsAndNarrowOnesPaddedWithTransparency) {
    ImageList list(2, 2);
    list.SetTransparentColour(kGrey);
    EXPECT_EQ(list.Add(picture()), 0); // 4 wide: two cells
    EXPECT_EQ(list.Count(), 2);
    Bitmap target = white_target();
    list.Draw(target.Canvas(), 0, 0, 1); // the right half: only the blue pixel at its (0, 1)
    EXPECT_EQ(target.Canvas().PixelAt(0, 1), kBlue);
    EXPECT_EQ(target.Canvas().PixelAt(0, 0), kWhite);

    ImageList big(8, 3);
    big.SetTransparentColour(kGrey);
    big.Add(picture());
    Bitmap covered = white_target();
    big.Draw(covered.Canvas(), 0, 0, 0);
    EXPECT_EQ(covered.Canvas().PixelAt(5, 2), kWhite) << "padding must be transparent";
    EXPECT_EQ(covered.Canvas().PixelAt(0, 1), kRed);
}

TEST_F(ImageListTest, ReplaceChangesOneCellAndRejectsBadIndices) {
    ImageList list(4, 2);
    list.SetTransparentColour(kGrey);
    list.Add(picture());
    Bitmap plain(4, 2);
    plain.Canvas().brush.colour = kBlue;
    plain.Canvas().FillRect({0, 0, 4, 2});
    list.Replace(0, plain, kWhite);
    EXPECT_EQ(list.Count(), 1);
    Bitmap target = white_target();
    list.Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(target.Canvas().PixelAt(1, 0), kBlue);
    EXPECT_THROW(list.Replace(1, plain), PlatformError);
    EXPECT_THROW(list.Replace(-1, plain), PlatformError);
}

TEST_F(ImageListTest, DrawingClipsAtTheTargetEdgesAndIgnoresMissingCells) {
    ImageList list(4, 2);
    list.SetTransparentColour(kGrey);
    list.Add(picture());
    Bitmap target = white_target();
    list.Draw(target.Canvas(), -2, -1, 0); // only the blue pixel, now at (0, 0), is inside
    EXPECT_EQ(target.Canvas().PixelAt(0, 0), kBlue);
    list.Draw(target.Canvas(), 5, 3, 0); // the red column's top pixel at (5, 3)
    EXPECT_EQ(target.Canvas().PixelAt(5, 3), kRed);
    list.Draw(target.Canvas(), 0, 0, 7);
    list.Draw(target.Canvas(), 0, 0, -1);
    EXPECT_EQ(target.Canvas().PixelAt(2, 2), kWhite);
}

TEST_F(ImageListTest, ClearAndNewCellSizeEmptyTheList) {
    ImageList list(4, 2);
    list.Add(picture());
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.Add(picture());
    list.SetSize(1, 1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Width(), 1);
    EXPECT_EQ(list.Add(picture()), 0);
    EXPECT_EQ(list.Count(), 4);
}

} // namespace
} // namespace kelvox
