#include "platform/jpeg_picture.h"

#include "platform/disc_file.h"
#include "platform/platform_error.h"

#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

namespace kelvox {

namespace {

// Each scan is a pass over the whole picture, and a progressive file may hold as many as its bytes
// allow: 110 KB of 10,000 empty scans over a 4096 × 4096 picture cost 14 s of a core, and a file of the
// 32 MiB allowed holds 300 times as many. Encoders write about ten scans; 500 leaves room for any
// script a real one writes.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char first_warning[JMSG_LENGTH_MAX];
};

extern "C" void on_fatal_error(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

extern "C" void on_message(j_common_ptr info, int level) {
    // Warnings (a truncated file, for one) are not shown: the picture decodes all the same. The first
    // is kept for the disc checker, which must not pass a damaged picture as a good one.
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && manager->first_warning[0] == '\0')
        (*info->err->format_message)(info, manager->first_warning);
}

extern "C" void on_progress(j_common_ptr info) {
    if (!info->is_decompressor || reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxScans)
        return;
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(manager->message, JMSG_LENGTH_MAX, "more than %d scans", kMaxScans);
    std::longjmp(manager->jump, 1);
}

// Fills `picture` from the JPEG data; false with `message` set when libjpeg gave up. Only objects with
// trivial destructors live in this frame, since a fatal error longjmps back into it; the picture lives in
// the caller's frame and is reached through a pointer.
bool decode_into(const unsigned char* data, unsigned long size, qint64 pixel_cap, QImage* picture,
                 char* message, char* warning) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = on_fatal_error;
    errors.base.emit_message = on_message;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = on_progress;
    errors.message[0] = '\0';
    errors.first_warning[0] = '\0';
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    if (qint64(info.image_width) * qint64(info.image_height) > pixel_cap) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", "picture too large");
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", "unknown colour layout");
        return false;
    }
    *picture = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (picture->isNull()) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", "out of memory");
        return false;
    }
    // One RGB row at a time, widened into the picture's own row.
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * 3, 1);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        auto* out = reinterpret_cast<QRgb*>(picture->scanLine(y));
        const JSAMPLE* in = row[0];
        for (JDIMENSION x = 0; x < info.output_width; ++x, in += 3)
            out[x] = qRgb(in[0], in[1], in[2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::snprintf(warning, JMSG_LENGTH_MAX, "%s", errors.first_warning);
    return true;
}

PlatformError invalid_jpeg(const char* reason) {
    return PlatformError(QStringLiteral("JPEG image is not valid: %1").arg(QString::fromLocal8Bit(reason)));
}

} // namespace

QImage decode_jpeg(const unsigned char* data, std::size_t size, QString* first_warning, qint64 pixel_cap) {
    if (data == nullptr || size == 0)
        throw invalid_jpeg("empty file");
    if (size > std::numeric_limits<unsigned long>::max())
        throw invalid_jpeg("file too large");
    QImage picture;
    char message[JMSG_LENGTH_MAX] = {};
    char warning[JMSG_LENGTH_MAX] = {};
    if (!decode_into(data, static_cast<unsigned long>(size), qMin(pixel_cap, kJpegPixelCap), &picture,
                     message, warning))
        throw invalid_jpeg(message);
    if (first_warning != nullptr)
        *first_warning = QString::fromLocal8Bit(warning);
    return picture;
}

QImage decode_jpeg(const QByteArray& bytes, QString* first_warning) {
    return decode_jpeg(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()),
                       first_warning);
}

QImage load_jpeg_file(const QString& disc_path, QString* first_warning) {
    return decode_jpeg(read_disc_file(disc_path, kJpegFileCap), first_warning);
}

} // namespace kelvox
