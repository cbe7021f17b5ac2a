// Arbitrary bytes through the JPEG decoder: every input either decodes into a picture of the size its
// header gives or raises PlatformError; libjpeg's fatal errors must never end the process.
//
// libjpeg is the system's library, built without coverage instrumentation, so on its own the fuzzer
// would see only the few edges of our wrapper and mutate blind. The probe below reads each input with
// libjpeg a second time and turns what libjpeg reports (colour spaces, sampling, coding modes, marker
// flags, every message code it emits) into edges of this file, one per value, which gives the fuzzer a
// map of the decoder's paths to steer by.
#include "platform/jpeg_picture.h"
#include "platform/platform_error.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// A branch of its own for each value below N: value v takes the edge of instantiation v.
template <int N> __attribute__((noinline)) int edge_for(int value) {
    if (value == N)
        return N;
    if constexpr (N > 0)
        return edge_for<N - 1>(value);
    return -1;
}

// Message codes of libjpeg-turbo stay below this.
constexpr int kMessageCodes = 200;
// Both the probe and the decoder stop at pictures of more than 256 × 256 pixels. The decoder's paths
// for a large picture are those of a small one; only the time differs: a few bytes claiming a picture
// of millions of pixels kept each run busy for seconds, which timed the fuzzer out and cut its rate.
constexpr qint64 kFuzzPixelCap = qint64(1) << 16;

struct ProbeErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

extern "C" void probe_fatal(j_common_ptr info) {
    edge_for<kMessageCodes>(info->err->msg_code);
    std::longjmp(reinterpret_cast<ProbeErrors*>(info->err)->jump, 1);
}

extern "C" void probe_message(j_common_ptr info, int) {
    edge_for<kMessageCodes>(info->err->msg_code);
}

void note_header(const jpeg_decompress_struct& info) {
    edge_for<16>(int(info.jpeg_color_space));
    edge_for<5>(info.num_components);
    edge_for<1>(info.progressive_mode);
    edge_for<1>(info.arith_code);
    edge_for<1>(info.saw_JFIF_marker);
    edge_for<1>(info.saw_Adobe_marker);
    edge_for<1>(info.restart_interval != 0);
    for (int c = 0; c < info.num_components && c < 4; ++c) {
        edge_for<4>(info.comp_info[c].h_samp_factor);
        edge_for<4>(info.comp_info[c].v_samp_factor);
    }
}

void probe(const uint8_t* data, size_t size) {
    jpeg_decompress_struct info;
    ProbeErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = probe_fatal;
    errors.base.emit_message = probe_message;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
        note_header(info);
        // The scans too, for the messages they give, on pictures small enough to keep runs quick.
        if (qint64(info.image_width) * info.image_height <= kFuzzPixelCap) {
            jpeg_start_decompress(&info);
            JSAMPARRAY row =
                (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                          info.output_width * JDIMENSION(info.output_components), 1);
            while (info.output_scanline < info.output_height)
                jpeg_read_scanlines(&info, row, 1);
            jpeg_finish_decompress(&info);
        }
    }
    jpeg_destroy_decompress(&info);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0)
        probe(data, size);
    try {
        QString warning;
        const QImage picture = kelvox::decode_jpeg(data, size, &warning, kFuzzPixelCap);
        if (picture.isNull() || picture.format() != QImage::Format_RGB32)
            std::abort();
    } catch (const kelvox::PlatformError&) {
    }
    return 0;
}
