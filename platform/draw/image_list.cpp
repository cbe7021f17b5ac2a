#include "platform/image_list.h"

#include "platform/bitmap.h"
#include "platform/platform_error.h"

#include <QImage>

#include <algorithm>

namespace kelvox {

struct ImageList::Cell {
    QImage pixels;
    Pixel transparent;
};

ImageList::ImageList(int cell_width, int cell_height)
    : cell_width_(std::max(cell_width, 1)), cell_height_(std::max(cell_height, 1)) {}

ImageList::~ImageList() = default;

void ImageList::Clear() {
    cells_.clear();
}

// Out of line: the vector's element type is complete only in this file.
int ImageList::Count() const {
    return static_cast<int>(cells_.size());
}

void ImageList::SetSize(int cell_width, int cell_height) {
    cell_width_ = std::max(cell_width, 1);
    cell_height_ = std::max(cell_height, 1);
    cells_.clear();
}

ImageList::Cell ImageList::MakeCell(const Bitmap& bitmap, int column, Colour transparent) const {
    const Pixel clear = colour_to_pixel(transparent);
    QImage pixels(cell_width_, cell_height_, QImage::Format_RGB32);
    pixels.fill(clear);
    const int left = column * cell_width_;
    const int width = std::clamp(bitmap.Width() - left, 0, cell_width_);
    const int height = std::min(bitmap.Height(), cell_height_);
    for (int y = 0; y < height; ++y)
        std::copy_n(bitmap.ScanLine(y) + left, width, reinterpret_cast<Pixel*>(pixels.scanLine(y)));
    return Cell{std::move(pixels), clear};
}

int ImageList::Add(const Bitmap& bitmap) {
    return Add(bitmap, transparent_);
}

int ImageList::Add(const Bitmap& bitmap, Colour transparent) {
    const int first = Count();
    const int columns = std::max(1, bitmap.Width() / cell_width_);
    for (int column = 0; column < columns; ++column)
        cells_.push_back(MakeCell(bitmap, column, transparent));
    return first;
}

void ImageList::Replace(int index, const Bitmap& bitmap) {
    Replace(index, bitmap, transparent_);
}

void ImageList::Replace(int index, const Bitmap& bitmap, Colour transparent) {
    if (index < 0 || index >= Count())
        throw PlatformError(QStringLiteral("Failed to replace image"));
    cells_[static_cast<std::size_t>(index)] = MakeCell(bitmap, 0, transparent);
}

void ImageList::Draw(Canvas& target, int x, int y, int index) const {
    if (index < 0 || index >= Count())
        return;
    const Cell& cell = cells_[static_cast<std::size_t>(index)];
    QImage& image = target.Target();
    const int top = std::max(0, -y);
    const int bottom = std::min(cell_height_, image.height() - y);
    const int left = std::max(0, -x);
    const int right = std::min(cell_width_, image.width() - x);
    const Pixel clear = cell.transparent & 0x00FFFFFFu;
    for (int row = top; row < bottom; ++row) {
        const Pixel* from = reinterpret_cast<const Pixel*>(cell.pixels.constScanLine(row));
        Pixel* to = reinterpret_cast<Pixel*>(image.scanLine(y + row)) + x;
        for (int column = left; column < right; ++column)
            if ((from[column] & 0x00FFFFFFu) != clear)
                to[column] = from[column];
    }
}

} // namespace kelvox
