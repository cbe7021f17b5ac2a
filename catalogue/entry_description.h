#pragma once
// The description of the entry last chosen, read from its info.xml: title, wrapped description and
// requirements, picture names and type label. The first picture is loaded as soon as its name is read.
#include <QString>
#include <QStringList>

#include <functional>

namespace kelvox {

class EntryDescription {
public:
    // Columns of the detail panel's text and requirements blocks.
    static constexpr int kDescriptionWidth = 22;
    static constexpr int kRequirementWidth = 21;

    QString entry_title;
    QStringList description_lines;
    QStringList requirement_lines;
    QStringList picture_names;
    QString entry_type;
    bool picture_loaded = false;

    // Picture names are relative to this directory, not to the entry's.
    QString program_dir;

    // Loads the first picture (program_dir + "\" + its name) into the window's JPEG picture and picture
    // bitmap. An exception from it stops the description's run and leaves picture_loaded false.
    std::function<void(const QString& file)> OnLoadPicture;

    // Everything emptied, picture_loaded false; program_dir and OnLoadPicture stay.
    void reset();

    void take_title(const QString& text) { entry_title = text; }
    void add_description(const QString& text);
    void add_requirements(const QString& text);
    void add_picture(const QString& name);
    void take_type(const QString& text) { entry_type = text; }
};

} // namespace kelvox
