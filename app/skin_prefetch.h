#pragma once
// The skin's bitmaps read and decoded on worker threads from the first moment of the program, while the
// toolkit and the window start: the start's skin loading and its first screen build take them ready.
#include "platform/bitmap_read_ahead.h"

#include <QString>

#include <memory>

namespace kelvox {

// Every bitmap a start loads from the skin of the disc in program_dir (the current directory, as the
// window takes it), the background picture a start shows unless the settings name another first,
// named as the window names them.
std::unique_ptr<BitmapReadAhead> prefetch_skin(QString program_dir);

} // namespace kelvox
