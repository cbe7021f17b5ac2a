#pragma once
// Makes JPEG files for tests with libjpeg's own compressor: RGB pictures from a QImage and CMYK ones,
// which the menu's decoder must refuse.
#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace kelvox::test {

inline QByteArray compress_jpeg(int width, int height, J_COLOR_SPACE space, int components,
                                const std::vector<unsigned char>& samples, int quality = 95) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&samples[std::size_t(info.next_scanline) * width * components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

inline QByteArray rgb_jpeg(const QImage& picture, int quality = 95) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> samples;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* row = rgb.constScanLine(y);
        samples.insert(samples.end(), row, row + rgb.width() * 3);
    }
    return compress_jpeg(rgb.width(), rgb.height(), JCS_RGB, 3, samples, quality);
}

inline QByteArray cmyk_jpeg(int width, int height) {
    std::vector<unsigned char> samples(std::size_t(width) * height * 4, 0x80);
    return compress_jpeg(width, height, JCS_CMYK, 4, samples);
}

} // namespace kelvox::test
