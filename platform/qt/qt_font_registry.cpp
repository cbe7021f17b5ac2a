#include "platform/qt/qt_font_registry.h"

#include "platform/disc_file.h"

#include <QFontDatabase>
#include <QStringList>

namespace kelvox {

QtFontRegistry::~QtFontRegistry() = default;

bool QtFontRegistry::add(const QString& file) {
    // Read here rather than by Qt, so the font file is held to the disc's rules like every other.
    QByteArray data;
    try {
        data = read_disc_file(file, kFontFileCap);
    } catch (const DiscFileError&) {
        return false;
    }
    const int id = QFontDatabase::addApplicationFontFromData(data);
    if (id == -1)
        return false;
    if (QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return false;
    }
    ids_[file].push_back(id);
    return true;
}

void QtFontRegistry::remove(const QString& file) {
    auto found = ids_.find(file);
    if (found == ids_.end())
        return;
    QFontDatabase::removeApplicationFont(found->second.back());
    found->second.pop_back();
    if (found->second.empty())
        ids_.erase(found);
}

} // namespace kelvox
