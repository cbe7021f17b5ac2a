#include "screen/skin_source.h"

#include "platform/bitmap.h"
#include "platform/image_list.h"

namespace kelvox {

void SkinSource::fill(ImageList& list, int cell_width, int cell_height, Colour transparent,
                      std::initializer_list<const char*> files) const {
    list.Clear();
    list.SetSize(cell_width, cell_height);
    list.SetTransparentColour(transparent);
    for (const char* file : files) {
        Bitmap scratch;
        load(scratch, file);
        list.Add(scratch, transparent);
    }
}

} // namespace kelvox
