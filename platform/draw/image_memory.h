#pragma once
// Memory for large images (layer-internal). A start touches several screen-sized images for the first
// time, and on Linux every new 4 KiB page costs the kernel a fault; images of a quarter megabyte or
// more are given memory that the kernel may back with 2 MiB pages, a fault for each instead of hundreds.
#include <QImage>

namespace kelvox {

// An RGB32 image of the size, its pixels not yet set; null when the size is empty or the memory is
// refused.
QImage new_rgb32_image(int width, int height);

} // namespace kelvox
