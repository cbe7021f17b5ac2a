#include "catalogue/entry_description.h"

#include "catalogue/text_wrap.h"

namespace kelvox {

void EntryDescription::reset() {
    entry_title.clear();
    entry_type.clear();
    description_lines.clear();
    requirement_lines.clear();
    picture_names.clear();
    picture_loaded = false;
}

void EntryDescription::add_description(const QString& text) {
    description_lines.append(wrap_text(text, kDescriptionWidth, true));
}

void EntryDescription::add_requirements(const QString& text) {
    requirement_lines.append(wrap_text(text, kRequirementWidth, false));
}

void EntryDescription::add_picture(const QString& name) {
    picture_names.append(name);
    if (picture_names.size() != 1 || !OnLoadPicture)
        return;
    OnLoadPicture(program_dir + QLatin1Char('\\') + name);
    picture_loaded = true;
}

} // namespace kelvox
