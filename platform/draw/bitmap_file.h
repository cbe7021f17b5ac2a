#pragma once
// What Bitmap::LoadFromFile does between reading a file and taking its pixels (layer-internal), in two
// steps, so that the first can run on a worker: checking the bytes and decoding the forms decoded here,
// then, on the main thread, the toolkit's general reader for the rest.
#include <QByteArray>
#include <QImage>

namespace kelvox {

struct BitmapFileData {
    QByteArray file;
    QImage pixels; // null when the toolkit's general reader is left to decode the file
};

// Any thread. Raises PlatformError("Bitmap image is not valid") for bytes that are not a whole bitmap.
BitmapFileData check_bitmap_file(QByteArray file);

// The main thread. The pixels, from the general reader where check_bitmap_file left them to it; raises
// as check_bitmap_file does.
QImage decode_bitmap_file(BitmapFileData data);

} // namespace kelvox
