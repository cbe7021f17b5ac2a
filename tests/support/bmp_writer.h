#pragma once
// Writes uncompressed 24-bit .bmp files (bottom-up rows padded to four bytes) for tests that need skin
// bitmaps, without going through the code under test.
#include "platform/colour.h"

#include <QByteArray>

#include <functional>

namespace kelvox::test {

// The bytes of a width × height bitmap whose pixel (x, y) has the colour the function gives.
QByteArray bmp24(int width, int height, const std::function<Colour(int x, int y)>& pixel);
// A bitmap of one colour.
QByteArray bmp24(int width, int height, Colour colour);

} // namespace kelvox::test
