#include "platform/canvas.h"

#include "platform/bitmap.h"
#include "platform/draw/raster_ops.h"

#include <QImage>

#include <cstdint>
#include <cstring>
#include <optional>

namespace kelvox {

namespace {

Rect bounds_of(const QImage& image) {
    return Rect::sized(0, 0, image.width(), image.height());
}

Pixel* row(QImage& image, int y) {
    return reinterpret_cast<Pixel*>(image.scanLine(y));
}
const Pixel* row(const QImage& image, int y) {
    return reinterpret_cast<const Pixel*>(image.constScanLine(y));
}

void combine_row(Pixel* dest, const Pixel* source, int count, CopyMode mode) {
    if (mode == CopyMode::Copy) {
        std::memmove(dest, source, static_cast<std::size_t>(count) * sizeof(Pixel));
        return;
    }
    for (int i = 0; i < count; ++i)
        dest[i] |= source[i];
}

} // namespace

int Canvas::Width() const {
    return target_->width();
}
int Canvas::Height() const {
    return target_->height();
}

void Canvas::FillRect(const Rect& rect) {
    if (brush.style == BrushStyle::Clear)
        return;
    const Rect area = rect.Intersected(bounds_of(*target_));
    if (area.Empty())
        return;
    const Pixel value = colour_to_pixel(brush.colour);
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* line = row(*target_, y);
        for (int x = area.left; x < area.right; ++x)
            line[x] = value;
    }
}

void Canvas::CopyFrom(int x, int y, const Bitmap& source, const Rect& from, CopyMode mode) {
    const QImage& src_image = source.QtImage();
    // Clip the source to its bitmap, then the destination to ours, keeping the two aligned.
    Rect src = from.Intersected(bounds_of(src_image));
    Rect dest = Rect::sized(x + src.left - from.left, y + src.top - from.top, src.Width(), src.Height());
    const Rect clipped = dest.Intersected(bounds_of(*target_));
    if (clipped.Empty())
        return;
    src = src.Translated(clipped.left - dest.left, clipped.top - dest.top);
    dest = clipped;

    // A copy within one bitmap reads from a snapshot so overlapping rectangles come out whole.
    std::optional<QImage> snapshot;
    if (&src_image == target_)
        snapshot = src_image.copy(src.left, src.top, dest.Width(), dest.Height());
    const QImage& read = snapshot ? *snapshot : src_image;
    const int read_left = snapshot ? 0 : src.left;
    const int read_top = snapshot ? 0 : src.top;
    for (int row_index = 0; row_index < dest.Height(); ++row_index)
        combine_row(row(*target_, dest.top + row_index) + dest.left,
                    row(read, read_top + row_index) + read_left, dest.Width(), mode);
}

void Canvas::CopyRect(const Rect& dest, const Bitmap& source, const Rect& from, CopyMode mode) {
    if (dest.Width() == from.Width() && dest.Height() == from.Height()) {
        CopyFrom(dest.left, dest.top, source, from, mode);
        return;
    }
    if (dest.Empty() || from.Empty())
        return;
    std::optional<QImage> snapshot;
    if (&source.QtImage() == target_)
        snapshot = source.QtImage().copy();
    const QImage& read = snapshot ? *snapshot : source.QtImage();
    const Rect readable = bounds_of(read);
    const Rect area = dest.Intersected(bounds_of(*target_));
    for (int y = area.top; y < area.bottom; ++y) {
        const int sy =
            from.top + static_cast<int>(std::int64_t{y - dest.top} * from.Height() / dest.Height());
        if (sy < readable.top || sy >= readable.bottom)
            continue;
        Pixel* line = row(*target_, y);
        const Pixel* src_line = row(read, sy);
        for (int x = area.left; x < area.right; ++x) {
            const int sx =
                from.left + static_cast<int>(std::int64_t{x - dest.left} * from.Width() / dest.Width());
            if (sx < readable.left || sx >= readable.right)
                continue;
            line[x] = mode == CopyMode::Copy ? src_line[sx] : (line[x] | src_line[sx]);
        }
    }
}

void Canvas::Draw(int x, int y, const Bitmap& source) {
    CopyFrom(x, y, source, Rect::sized(0, 0, source.Width(), source.Height()));
}

void Canvas::StretchDraw(const Rect& dest, const Bitmap& source) {
    CopyRect(dest, source, Rect::sized(0, 0, source.Width(), source.Height()));
}

Colour Canvas::PixelAt(int x, int y) const {
    if (!bounds_of(*target_).Contains(x, y))
        return kBlack;
    return pixel_to_colour(row(*target_, y)[x]);
}

void Canvas::SetPixel(int x, int y, Colour colour) {
    if (bounds_of(*target_).Contains(x, y))
        row(*target_, y)[x] = colour_to_pixel(colour);
}

void Canvas::InvertFrame(const Rect& rect) {
    if (rect.Empty())
        return;
    const auto invert = [this](int x, int y) { SetPixel(x, y, PixelAt(x, y) ^ 0xFFFFFF); };
    for (int x = rect.left; x < rect.right; ++x) {
        invert(x, rect.top);
        if (rect.Height() > 1)
            invert(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        invert(rect.left, y);
        if (rect.Width() > 1)
            invert(rect.right - 1, y);
    }
}

} // namespace kelvox
