#pragma once
// The main window's wiring of the catalogue for tests: one tokenizer whose tags and texts reach one
// reader of one catalogue and one entry description.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"

#include <QString>
#include <QStringList>

namespace kelvox::test {

struct Menu {
    Menu() {
        parser.OnFoundTag = [this](THTMLParser& sender, const QString& tag) {
            reader.parserFoundTag(sender, tag);
        };
        parser.OnFoundText = [this](THTMLParser& sender, const QString& text) {
            reader.parserFoundText(sender, text);
        };
        reader.OnTextDropped = [this](int8_t kind, const QString& text) {
            dropped.append(QString::number(kind) + " " + text);
        };
    }
    void run(const QStringList& lines) {
        parser.HTML = lines;
        parser.Execute();
    }
    // "name: entry(path, exe) entry(...)" per section.
    QStringList table() const {
        QStringList rows;
        for (int i = 0; i < catalogue.section_count(); ++i) {
            QString row = catalogue.section_name(i) + ":";
            for (int j = 0; j < catalogue.entry_count(i); ++j) {
                const CatalogueEntry& e = catalogue.entry(i, j);
                row += " (" + e.name + ", " + e.path + ", " + e.exe_path + ")";
            }
            rows.append(row);
        }
        return rows;
    }

    Catalogue catalogue;
    EntryDescription description;
    CatalogueReader reader{catalogue, description};
    THTMLParser parser{nullptr};
    QStringList dropped;
};

} // namespace kelvox::test
