// Canvas operations: exact pixels for copies, OR, stretch, fill and lines; text placement and widths.
#include "platform/bitmap.h"
#include "platform/draw/painter_font.h"
#include "tests/support/qt_application.h"

#include <QFontMetricsF>
#include <QImage>

#include <memory>

#include <gtest/gtest.h>

#include <vector>

namespace kelvox {
namespace {

Colour pattern(int x, int y) {
    return make_colour(x * 7 + 1, y * 11 + 2, (x + y) * 3 + 3);
}

Bitmap patterned(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.Canvas().SetPixel(x, y, pattern(x, y));
    return bitmap;
}

Bitmap filled(int width, int height, Colour colour) {
    Bitmap bitmap(width, height);
    bitmap.Canvas().brush.colour = colour;
    bitmap.Canvas().FillRect(Rect::sized(0, 0, width, height));
    return bitmap;
}

std::vector<Point> pixels_of(const Bitmap& bitmap, Colour colour) {
    std::vector<Point> found;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas().PixelAt(x, y) == colour)
                found.push_back({x, y});
    return found;
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { test::qt_application(); }
};

TEST(ColourTest, WindowsColourValuesBecomeRgbPixels) {
    struct Case {
        Colour colour;
        Pixel pixel;
    } cases[] = {
        {0x000000, 0xFF000000}, {0x0000FF, 0xFFFF0000}, {0x00B600, 0xFF00B600},
        {0xFF0000, 0xFF0000FF}, {0xB4FDB8, 0xFFB8FDB4}, {0x8D8D8D, 0xFF8D8D8D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(colour_to_pixel(c.colour), c.pixel) << std::hex << c.colour;
        EXPECT_EQ(pixel_to_colour(c.pixel), c.colour) << std::hex << c.colour;
    }
    EXPECT_EQ(make_colour(184, 253, 180), 0xB4FDB8u);
}

TEST_F(CanvasTest, PlainCopyMovesExactlyTheClippedRectangle) {
    struct Case {
        Rect from;
        Point to;
    } cases[] = {
        {Rect::sized(2, 3, 5, 4), {1, 1}},   // inside
        {Rect::sized(0, 0, 8, 8), {-3, -2}}, // dest off the top-left
        {Rect::sized(4, 4, 6, 6), {7, 7}},   // dest past the bottom-right
        {Rect::sized(-2, -2, 5, 5), {0, 0}}, // source starts outside its bitmap
        {Rect::sized(10, 10, 4, 4), {0, 0}}, // source wholly outside
    };
    const Bitmap source = patterned(12, 12);
    for (const Case& c : cases) {
        Bitmap target = filled(10, 10, kBlack);
        target.Canvas().CopyFrom(c.to.x, c.to.y, source, c.from);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const int sx = x - c.to.x + c.from.left;
                const int sy = y - c.to.y + c.from.top;
                const bool covered = c.from.Contains(sx, sy) && sx >= 0 && sy >= 0 && sx < 12 && sy < 12;
                ASSERT_EQ(target.Canvas().PixelAt(x, y), covered ? pattern(sx, sy) : kBlack)
                    << "pixel " << x << "," << y << " copying from " << c.from.left << "," << c.from.top;
            }
    }
}

TEST_F(CanvasTest, CopyWithinOneBitmapReadsTheOriginalPixels) {
    Bitmap bitmap = patterned(8, 4);
    // Overlapping to the right: a forward row copy would smear the first pixel along the row.
    bitmap.Canvas().CopyFrom(1, 0, bitmap, Rect::sized(0, 0, 7, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 1; x < 8; ++x)
            ASSERT_EQ(bitmap.Canvas().PixelAt(x, y), pattern(x - 1, y)) << x << "," << y;
    EXPECT_EQ(bitmap.Canvas().PixelAt(0, 2), pattern(0, 2));
}

TEST_F(CanvasTest, OrCopyCombinesBitwise) {
    Bitmap target = filled(4, 1, 0x0F0F0F);
    target.Canvas().SetPixel(3, 0, 0x102030);
    const Bitmap row = filled(3, 1, 0xF00001);
    target.Canvas().CopyRect(Rect::sized(1, 0, 3, 1), row, Rect::sized(0, 0, 3, 1), CopyMode::Or);
    EXPECT_EQ(target.Canvas().PixelAt(0, 0), 0x0F0F0Fu);
    EXPECT_EQ(target.Canvas().PixelAt(1, 0), 0xFF0F0Fu);
    EXPECT_EQ(target.Canvas().PixelAt(3, 0), 0xF02031u);
}

TEST_F(CanvasTest, StretchRepeatsOrSkipsWholePixels) {
    const Bitmap source = patterned(4, 4);
    Bitmap target = filled(8, 8, kBlack);
    target.Canvas().CopyRect(Rect::sized(0, 0, 8, 8), source, Rect::sized(0, 0, 4, 4));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(target.Canvas().PixelAt(x, y), pattern(x / 2, y / 2)) << x << "," << y;

    Bitmap small = filled(3, 3, kBlack);
    small.Canvas().StretchDraw(Rect::sized(1, 1, 2, 2), source);
    EXPECT_EQ(small.Canvas().PixelAt(0, 0), kBlack);
    EXPECT_EQ(small.Canvas().PixelAt(1, 1), pattern(0, 0));
    EXPECT_EQ(small.Canvas().PixelAt(2, 1), pattern(2, 0));
    EXPECT_EQ(small.Canvas().PixelAt(1, 2), pattern(0, 2));
    EXPECT_EQ(small.Canvas().PixelAt(2, 2), pattern(2, 2));
}

TEST_F(CanvasTest, FillCoversLeftTopButNotRightBottomAndClearBrushFillsNothing) {
    Bitmap bitmap = filled(10, 10, kBlack);
    bitmap.Canvas().brush.colour = 0xB4FDB8;
    bitmap.Canvas().FillRect({127 - 125, 37 - 35, 132 - 125, 42 - 35}); // (2,2)-(7,7)
    const auto lit = pixels_of(bitmap, 0xB4FDB8);
    ASSERT_EQ(lit.size(), 25u);
    for (const Point& p : lit) {
        EXPECT_GE(p.x, 2);
        EXPECT_LT(p.x, 7);
        EXPECT_GE(p.y, 2);
        EXPECT_LT(p.y, 7);
    }
    bitmap.Canvas().brush = {0x0000FF, BrushStyle::Clear};
    bitmap.Canvas().FillRect({0, 0, 10, 10});
    EXPECT_TRUE(pixels_of(bitmap, 0x0000FF).empty());
    // Clipped at the edges, without touching memory outside.
    bitmap.Canvas().brush = {0x00FF00, BrushStyle::Solid};
    bitmap.Canvas().FillRect({-5, 8, 20, 30});
    EXPECT_EQ(pixels_of(bitmap, 0x00FF00).size(), 20u);
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    struct Case {
        std::vector<Point> polyline;
        std::vector<Point> drawn;
    } cases[] = {
        {{{0, 0}, {5, 0}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {{{3, 4}, {3, 1}}, {{3, 2}, {3, 3}, {3, 4}}}, // listed top to bottom
        {{{2, 2}, {2, 2}}, {}},
        // The settings panel's tick mark: down-right two pixels, then down-left to the end.
        {{{8, 0}, {10, 2}, {7, 5}}, {{8, 0}, {9, 1}, {10, 2}, {9, 3}, {8, 4}}},
    };
    for (const Case& c : cases) {
        Bitmap bitmap = filled(12, 8, kWhite);
        bitmap.Canvas().pen.colour = kBlack;
        bitmap.Canvas().MoveTo(c.polyline[0].x, c.polyline[0].y);
        for (std::size_t i = 1; i < c.polyline.size(); ++i)
            bitmap.Canvas().LineTo(c.polyline[i].x, c.polyline[i].y);
        EXPECT_EQ(pixels_of(bitmap, kBlack), c.drawn) << "from " << c.polyline[0].x << "," << c.polyline[0].y;
        EXPECT_EQ(bitmap.Canvas().PenPos(), c.polyline.back());
    }
}

TEST_F(CanvasTest, PenModesCombineWithWhatIsBelow) {
    Bitmap bitmap = filled(6, 3, 0x123456);
    Canvas& canvas = bitmap.Canvas();
    canvas.pen = {0xFFFFFF, 1, PenMode::Xor, PenStyle::Solid};
    canvas.MoveTo(0, 0);
    canvas.LineTo(6, 0);
    EXPECT_EQ(canvas.PixelAt(2, 0), 0xEDCBA9u);
    canvas.MoveTo(0, 0);
    canvas.LineTo(6, 0); // XOR twice gives back the original
    EXPECT_EQ(canvas.PixelAt(2, 0), 0x123456u);
    canvas.pen = {0x000000, 1, PenMode::Not, PenStyle::Solid};
    canvas.MoveTo(0, 1);
    canvas.LineTo(6, 1);
    EXPECT_EQ(canvas.PixelAt(5, 1), 0xEDCBA9u);
    canvas.pen = {0x0000FF, 1, PenMode::Copy, PenStyle::Clear};
    canvas.MoveTo(0, 2);
    canvas.LineTo(6, 2);
    EXPECT_EQ(canvas.PixelAt(3, 2), 0x123456u);
    EXPECT_EQ(canvas.PenPos(), (Point{6, 2}));
}

TEST_F(CanvasTest, TextOnBrushPaintsItsCellAndTransparentTextKeepsTheBackground) {
    const QString text = QStringLiteral("Zażółć 42");
    for (bool on_brush : {true, false}) {
        Bitmap bitmap = filled(200, 40, 0x0000FF);
        Canvas& canvas = bitmap.Canvas();
        canvas.font.name = QStringLiteral("Verdana");
        canvas.font.colour = kWhite;
        canvas.brush = {0xAAAAAA, on_brush ? BrushStyle::Solid : BrushStyle::Clear};
        const int width = canvas.TextWidth(text);
        const int height = canvas.TextHeight(text);
        ASSERT_GT(width, 0);
        ASSERT_GT(height, 0);
        canvas.TextOut(10, 5, text);
        const Rect cell = Rect::sized(10, 5, width, height);
        int background_left = 0;
        int brush_pixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                const Colour c = canvas.PixelAt(x, y);
                if (!cell.Contains(x, y))
                    ASSERT_EQ(c, 0x0000FFu) << "outside the cell at " << x << "," << y;
                else if (c == 0x0000FF)
                    ++background_left;
                else if (c == 0xAAAAAA)
                    ++brush_pixels;
            }
        if (on_brush) {
            EXPECT_EQ(background_left, 0);
            EXPECT_GT(brush_pixels, width * height / 2);
        } else {
            EXPECT_EQ(brush_pixels, 0);
            EXPECT_GT(background_left, width * height / 2);
        }
    }
}

TEST_F(CanvasTest, TextWidthsAddUpAndGrowWithSizeAndWeight) {
    Bitmap bitmap(10, 10);
    Canvas& canvas = bitmap.Canvas();
    canvas.font.name = QStringLiteral("Tahoma");
    EXPECT_EQ(canvas.TextWidth(QString()), 0);
    const int ab = canvas.TextWidth(QStringLiteral("MMMM"));
    EXPECT_EQ(ab, 2 * canvas.TextWidth(QStringLiteral("MM")));
    const int plain_height = canvas.TextHeight(QStringLiteral("M"));
    canvas.font.bold = true;
    EXPECT_GE(canvas.TextWidth(QStringLiteral("MMMM")), ab);
    canvas.font.bold = false;
    canvas.font.size = 18;
    EXPECT_GT(canvas.TextWidth(QStringLiteral("MMMM")), ab);
    EXPECT_GT(canvas.TextHeight(QStringLiteral("M")), plain_height);
}

TEST_F(CanvasTest, ALongTextMeasuresAsQtMeasuresItWhole) {
    Bitmap bitmap(10, 10);
    Canvas& canvas = bitmap.Canvas();
    canvas.font.name = QStringLiteral("Verdana");
    canvas.font.size = 18;
    const QFontMetricsF whole(painter_font(canvas.font), &canvas.Target());
    // Kerned pairs everywhere, marks, a string separator, no space at all, a tab.
    const QString kerned = QStringLiteral("AV To Wy. \"Ty\" LT AW ").repeated(600);
    ASSERT_NE(whole.horizontalAdvance(QStringLiteral("AV")),
              whole.horizontalAdvance(QStringLiteral("A")) + whole.horizontalAdvance(QStringLiteral("V")));
    const QString texts[] = {
        QStringLiteral("Nowe gry i programy na płycie! ").repeated(1000),
        kerned,
        QStringLiteral("Zaz\u0307o\u0301\u0142 \u0301a ").repeated(1000),
        kerned + QChar(0x9C) + kerned,
        QStringLiteral("Bezodstępów").repeated(1000),
        kerned + QLatin1Char('\t') + kerned,
    };
    for (const QString& text : texts)
        EXPECT_EQ(canvas.ExactTextWidth(text), whole.horizontalAdvance(text)) << text.left(30).toStdString();
}

TEST_F(CanvasTest, ResizingKeepsPixelsAndWhitensNewOnes) {
    Bitmap bitmap = patterned(4, 4);
    bitmap.SetSize(6, 2);
    ASSERT_EQ(bitmap.Width(), 6);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Canvas().PixelAt(3, 1), pattern(3, 1));
    EXPECT_EQ(bitmap.Canvas().PixelAt(5, 0), kWhite);
    bitmap.SetSize(0, 0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.Canvas().FillRect({0, 0, 5, 5}); // drawing on an empty bitmap does nothing
    bitmap.Canvas().TextOut(0, 0, QStringLiteral("x"));
}

TEST_F(CanvasTest, ScanLinesAreTheCanvasPixels) {
    Bitmap bitmap = filled(3, 2, kBlack);
    Pixel* row = bitmap.ScanLine(1);
    row[2] = make_pixel(/*blue*/ 10, /*green*/ 20, /*red*/ 30);
    EXPECT_EQ(bitmap.Canvas().PixelAt(2, 1), make_colour(30, 20, 10));
    bitmap.Canvas().SetPixel(0, 0, 0x00B600);
    const Pixel first = bitmap.ScanLine(0)[0];
    EXPECT_EQ(pixel_blue(first), 0);
    EXPECT_EQ(pixel_green(first), 0xB6);
    EXPECT_EQ(pixel_red(first), 0);
}

// Screen-sized bitmaps live in memory of their own (large pages where the system has them): they start
// white, copies are independent, a resize keeps the pixels, and a copy outlives its original.
TEST(LargeBitmap, BehavesAsASmallOne) {
    auto original = std::make_unique<Bitmap>(1024, 768);
    EXPECT_EQ(original->Canvas().PixelAt(1023, 767), kWhite);
    original->Canvas().SetPixel(1000, 700, make_colour(255, 0, 0));
    Bitmap copy;
    copy.Assign(*original);
    original->Canvas().SetPixel(1000, 700, make_colour(0, 0, 255));
    original->SetSize(1200, 900);
    EXPECT_EQ(original->Canvas().PixelAt(1000, 700), make_colour(0, 0, 255));
    EXPECT_EQ(original->Canvas().PixelAt(1199, 899), kWhite);
    original.reset();
    EXPECT_EQ(copy.Canvas().PixelAt(1000, 700), make_colour(255, 0, 0));
    EXPECT_EQ(copy.Canvas().PixelAt(0, 0), kWhite);
}

} // namespace
} // namespace kelvox
