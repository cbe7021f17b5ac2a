#include "platform/draw/painter_font.h"

#include <algorithm>

namespace kelvox {

int font_pixel_size(int points) {
    return std::max(1, (points * 96 + 36) / 72);
}

QFont painter_font(const Font& font) {
    QFont result(font.name);
    result.setPixelSize(font_pixel_size(font.size));
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    // Faces the machine may lack are substituted; tell the matcher which kind to look for.
    const QString name = font.name.toLower();
    if (name.contains(QLatin1String("fixedsys")) || name.contains(QLatin1String("courier")))
        result.setStyleHint(QFont::TypeWriter);
    else
        result.setStyleHint(QFont::SansSerif);
    return result;
}

} // namespace kelvox
