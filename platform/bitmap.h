#pragma once
// An off-screen 32-bit bitmap with a canvas to draw on. A new or grown bitmap is white.
#include "platform/canvas.h"
#include "platform/pixel.h"

#include <QString>

#include <memory>

class QImage;

namespace kelvox {

class Bitmap {
public:
    Bitmap();
    Bitmap(int width, int height);
    ~Bitmap();
    Bitmap(Bitmap&&) noexcept;
    Bitmap& operator=(Bitmap&&) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const;
    int Height() const;
    bool Empty() const;
    // Resizing keeps the pixels that still fit at their places; new pixels are white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }

    // Loads a .bmp file named as the disc names it (backslashes, any case), read as
    // platform/disc_file.h says (at most kBitmapFileCap bytes). Raises DiscFileError, a
    // cannot_open_file(name), when the file cannot be read and PlatformError("Bitmap image is not
    // valid") when it is not a bitmap or holds fewer pixels than its header says; the bitmap is
    // unchanged then.
    void LoadFromFile(const QString& name);
    // Makes this bitmap a copy of another (size and pixels; the canvas keeps its own tools).
    void Assign(const Bitmap& other);
    // Takes the pixels of a Qt image (converted to 32 bits).
    void Assign(const QImage& image);

    // The pixel rows are always 32-bit words (see pixel.h), so the rows can be worked on directly.
    Pixel* ScanLine(int y);
    const Pixel* ScanLine(int y) const;

    kelvox::Canvas& Canvas() { return *canvas_; }
    const kelvox::Canvas& Canvas() const { return *canvas_; }

    QImage& QtImage() { return *image_; }
    const QImage& QtImage() const { return *image_; }

private:
    std::unique_ptr<QImage> image_;
    std::unique_ptr<kelvox::Canvas> canvas_;
};

} // namespace kelvox
