#pragma once
// JPEG pictures, decoded with the plain libjpeg API into a 32-bit image of the picture's own size.
//
// libjpeg's own error handler ends the process; here every fatal libjpeg error becomes a
// PlatformError instead, so a corrupt or unsupported file (CMYK, for one) is an error and never a
// crash. A truncated file decodes with libjpeg's warnings only; the missing rows come out grey. The first
// warning is handed to a caller that asks for it (the disc checker reports damaged pictures).
#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>

namespace kelvox {

// Pictures larger than this are refused before any pixel memory is taken (a corrupt header can claim
// 65500 × 65500).
inline constexpr qint64 kJpegPixelCap = qint64(1) << 28;

// Decodes a JPEG held in memory. Raises PlatformError("JPEG image is not valid: <reason>"). When
// first_warning is given it receives libjpeg's first warning ("Premature end of JPEG file", …), or
// an empty text when the picture decoded cleanly. A caller may refuse pictures of more than
// pixel_cap pixels (below kJpegPixelCap) to keep its own runs short.
QImage decode_jpeg(const unsigned char* data, std::size_t size, QString* first_warning = nullptr,
                   qint64 pixel_cap = kJpegPixelCap);
QImage decode_jpeg(const QByteArray& bytes, QString* first_warning = nullptr);

// Decodes the disc file (read as platform/disc_file.h says, at most kJpegFileCap bytes). A file that
// cannot be read raises DiscFileError, a "Cannot open file %s" with the name as given; a file that does
// not decode raises as decode_jpeg does.
QImage load_jpeg_file(const QString& disc_path, QString* first_warning = nullptr);

// The window's JPEG picture: holds the last picture loaded into it.
class JpegPicture {
public:
    // Replaces the picture with the file's; on an error the picture is left as it was.
    void load_from_file(const QString& disc_path) { image_ = load_jpeg_file(disc_path); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool empty() const { return image_.isNull(); }
    // Format_RGB32.
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

} // namespace kelvox
