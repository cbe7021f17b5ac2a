// Arbitrary bytes through the JPEG decoder: every input either decodes into a picture of the size its
// header gives or raises PlatformError; libjpeg's fatal errors must never end the process.
#include "platform/jpeg_picture.h"
#include "platform/platform_error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const QImage picture = kelvox::decode_jpeg(data, size);
        if (picture.isNull() || picture.format() != QImage::Format_RGB32)
            std::abort();
    } catch (const kelvox::PlatformError&) {
    }
    return 0;
}
