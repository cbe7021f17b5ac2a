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

// A scan script makes a progressive file of those scans; without one the file is baseline.
inline QByteArray compress_jpeg(int width, int height, J_COLOR_SPACE space, int components,
                                const std::vector<unsigned char>& samples, int quality = 95,
                                const std::vector<jpeg_scan_info>& script = {}) {
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
    if (!script.empty()) {
        info.scan_info = script.data();
        info.num_scans = int(script.size());
    }
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

// A progressive grey picture of the given number of scans (up to 704), each a valid step: the DC
// coefficient and then each AC coefficient alone, sent from bit 10 (libjpeg's highest for 8-bit
// samples) down one bit a scan.
inline QByteArray grey_jpeg_in_scans(int width, int height, int scans) {
    std::vector<jpeg_scan_info> script;
    for (int coefficient = 0; coefficient < 64; ++coefficient) {
        for (int bit = 10; bit >= 0; --bit) {
            const int high = bit == 10 ? 0 : bit + 1;
            script.push_back(jpeg_scan_info{1, {0, 0, 0, 0}, coefficient, coefficient, high, bit});
        }
    }
    script.resize(std::size_t(scans));
    std::vector<unsigned char> samples(std::size_t(width) * height, 0x90);
    return compress_jpeg(width, height, JCS_GRAYSCALE, 1, samples, 95, script);
}

} // namespace kelvox::test
