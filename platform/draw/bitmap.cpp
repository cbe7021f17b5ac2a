#include "platform/bitmap.h"

#include "platform/draw/image_memory.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace kelvox {

namespace {

QImage white_image(int width, int height) {
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image = new_rgb32_image(width, height);
    image.fill(0xFFFFFFFFu);
    return image;
}

} // namespace

Bitmap::Bitmap() : image_(std::make_unique<QImage>()), canvas_(std::make_unique<kelvox::Canvas>(*image_)) {}

Bitmap::Bitmap(int width, int height) : Bitmap() {
    SetSize(width, height);
}

Bitmap::~Bitmap() = default;
Bitmap::Bitmap(Bitmap&&) noexcept = default;
Bitmap& Bitmap::operator=(Bitmap&&) noexcept = default;

int Bitmap::Width() const {
    return image_->width();
}
int Bitmap::Height() const {
    return image_->height();
}
bool Bitmap::Empty() const {
    return image_->isNull();
}

void Bitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    QImage resized = white_image(width, height);
    const int keep_width = std::min(width, Width());
    const int keep_height = std::min(height, Height());
    for (int y = 0; y < keep_height; ++y)
        std::copy_n(reinterpret_cast<const Pixel*>(image_->constScanLine(y)), keep_width,
                    reinterpret_cast<Pixel*>(resized.scanLine(y)));
    // Assigned in place: the canvas keeps pointing at the same image object.
    *image_ = std::move(resized);
}

void Bitmap::Assign(const Bitmap& other) {
    if (&other != this)
        *image_ = other.image_->copy();
}

void Bitmap::Assign(const QImage& image) {
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    converted.setDevicePixelRatio(1.0);
    *image_ = std::move(converted);
}

Pixel* Bitmap::ScanLine(int y) {
    return reinterpret_cast<Pixel*>(image_->scanLine(y));
}
const Pixel* Bitmap::ScanLine(int y) const {
    return reinterpret_cast<const Pixel*>(image_->constScanLine(y));
}

} // namespace kelvox
