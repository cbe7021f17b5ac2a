#pragma once
// Where the parts take their pictures from: the skin directory of the disc, files named as the skin
// names them ("menu_l.bmp"). The window's skin loading provides it; each part loads its own pictures.
#include "platform/colour.h"

#include <initializer_list>

namespace kelvox {

class Bitmap;
class ImageList;

class SkinSource {
public:
    virtual ~SkinSource() = default;
    // Raises the platform's error, naming the file as "menu\<name>", when it cannot be loaded.
    virtual void load(Bitmap& bitmap, const char* name) const = 0;
    // Empties the list, gives it its cell size and transparent colour, and adds one cell per file.
    void fill(ImageList& list, int cell_width, int cell_height, Colour transparent,
              std::initializer_list<const char*> files) const;
};

} // namespace kelvox
