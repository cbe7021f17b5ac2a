#pragma once
// Cells of one size with a transparent colour: drawing a cell leaves out the pixels of the colour that
// was transparent when the cell was added or replaced.
#include "platform/colour.h"

#include <memory>
#include <vector>

class QImage;

namespace kelvox {

class Bitmap;
class Canvas;

class ImageList {
public:
    ImageList(int cell_width = 16, int cell_height = 16);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    void Clear();
    // Changing the cell size empties the list.
    void SetSize(int cell_width, int cell_height);
    int Width() const { return cell_width_; }
    int Height() const { return cell_height_; }
    int Count() const;

    void SetTransparentColour(Colour colour) { transparent_ = colour; }

    // Cuts the bitmap into cells from left to right (one cell when it is narrower than two); the part
    // of a cell the bitmap does not cover is transparent. Returns the index of the first cell added.
    int Add(const Bitmap& bitmap);
    int Add(const Bitmap& bitmap, Colour transparent);
    // Replaces cell `index` with the top-left cell of the bitmap; raises PlatformError for a bad index.
    void Replace(int index, const Bitmap& bitmap);
    void Replace(int index, const Bitmap& bitmap, Colour transparent);

    // Draws cell `index` with its top-left corner at (x, y), leaving out its transparent pixels.
    // An index outside the list draws nothing.
    void Draw(Canvas& target, int x, int y, int index) const;

private:
    struct Cell;
    Cell MakeCell(const Bitmap& bitmap, int column, Colour transparent) const;

    int cell_width_;
    int cell_height_;
    Colour transparent_ = kWhite;
    std::vector<Cell> cells_;
};

} // namespace kelvox
