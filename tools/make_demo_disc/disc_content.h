#pragma once
// What the demo disc offers: its sections, their ticker lines and their entries, all invented.
#include "tools/make_demo_disc/screenshots.h"

#include <QSize>
#include <QString>

#include <vector>

namespace kelvox::demo {

// What choosing the entry does with its file: start it, open it, or unpack it.
enum class EntryKind { program, batch, text_document, html_document, archive };

struct DemoEntry {
    QString name;      // as shown in the list
    QString directory; // relative to the disc root, with backslashes, no trailing one
    EntryKind kind;
    QString title; // the description's title
    QString description;
    QString requirements; // empty: the description has no requirements
    QString type;         // the label on the run button
    Scene scene;          // what its pictures show
    int picture_count;    // 0 to 5
    QSize picture_size;
};

struct DemoSection {
    QString name;
    QString ticker_line;
    std::vector<DemoEntry> entries;
};

const std::vector<DemoSection>& demo_sections();

// The entry's file inside its directory ("instaluj.exe", "uruchom.bat", ...), and its path from the
// disc root with backslashes.
QString entry_file_name(const DemoEntry& entry);
QString entry_file_path(const DemoEntry& entry);

// Path of picture i (0-based) from the disc root, with backslashes.
QString entry_picture_path(const DemoEntry& entry, int index);

} // namespace kelvox::demo
