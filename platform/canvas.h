#pragma once
// The drawing surface of a bitmap: its pen, brush and font, and the operations the menu draws with.
// Every operation clips to the bitmap; the pixel arithmetic is exact (no smoothing, no blending) except
// for the glyphs of text.
#include "platform/drawing_tools.h"
#include "platform/geometry.h"

#include <QString>

class QImage;

namespace kelvox {

class Bitmap;

class Canvas {
public:
    explicit Canvas(QImage& target) : target_(&target) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Pen pen;
    Brush brush;
    Font font;

    int Width() const;
    int Height() const;

    // Fills the rectangle with the brush colour; a clear brush fills nothing.
    void FillRect(const Rect& rect);

    // Lines with the pen from the pen position; the end point itself is not drawn and becomes the
    // new pen position, so a polyline draws each joint once.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    Point PenPos() const { return pen_pos_; }

    // Copies the source rectangle `from` of `source` into `dest`; when the two sizes differ the
    // picture is stretched (nearest pixel, no smoothing). The source may be this canvas's own bitmap.
    void CopyRect(const Rect& dest, const Bitmap& source, const Rect& from, CopyMode mode = CopyMode::Copy);
    // Copies `from` of `source` with its top-left corner at (x, y), unscaled.
    void CopyFrom(int x, int y, const Bitmap& source, const Rect& from, CopyMode mode = CopyMode::Copy);
    // The whole of `source` at (x, y), unscaled.
    void Draw(int x, int y, const Bitmap& source);
    // The whole of `source` stretched into `dest`.
    void StretchDraw(const Rect& dest, const Bitmap& source);

    // Writes text in the font with the top-left corner of its cell at (x, y): on a transparent
    // background when the brush is clear, else on a box of the brush colour the size of the cell.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    // The same at a fractional x, and the unrounded width: a piece of a text drawn at x plus the exact
    // width of what precedes it lands on the pixels it has in the whole text.
    void TextOutAt(qreal x, int y, const QString& text);
    qreal ExactTextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Inverts the 1-pixel outline of the rectangle, each pixel once: a second call takes it away.
    void InvertFrame(const Rect& rect);

    Colour PixelAt(int x, int y) const; // black outside the bitmap
    void SetPixel(int x, int y, Colour colour);

    // For the layer's own Qt code.
    QImage& Target() { return *target_; }
    const QImage& Target() const { return *target_; }

private:
    QImage* target_;
    Point pen_pos_;
};

} // namespace kelvox
