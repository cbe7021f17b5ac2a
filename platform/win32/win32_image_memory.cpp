#include "platform/draw/image_memory.h"

namespace kelvox {

// The Windows heap gives large blocks their own committed pages; nothing to gain here.
QImage new_rgb32_image(int width, int height) {
    if (width <= 0 || height <= 0)
        return QImage();
    return QImage(width, height, QImage::Format_RGB32);
}

} // namespace kelvox
