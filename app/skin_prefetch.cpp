#include "app/skin_prefetch.h"

#include "app/skin_files.h"
#include "platform/disc_file.h"

namespace kelvox {

std::unique_ptr<BitmapReadAhead> prefetch_skin(QString program_dir) {
    if (program_dir.endsWith(QLatin1Char('\\')))
        program_dir.chop(1);
    // The largest first, so that the two workers end together.
    QStringList files{disc_path_in(program_dir, skin_path(skin_wallpapers.front()))};
    const auto add = [&](const char* name) {
        const QString file = disc_path_in(program_dir, skin_path(name));
        if (!files.contains(file))
            files << file;
    };
    for (const SkinBitmapFile& bitmap : skin_bitmaps)
        add(bitmap.name);
    for (const SkinImageListFile& list : skin_image_list_files)
        add(list.name);
    // Held to the root the window holds its files to; a drive's root only with its backslash.
    const QString root = program_dir.size() < 3 ? program_dir + QLatin1Char('\\') : program_dir;
    return std::make_unique<BitmapReadAhead>(root, files, 2);
}

} // namespace kelvox
