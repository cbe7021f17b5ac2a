#pragma once
// What reading a disc the menu's way needs around the menu's own code: the disc's root as the current
// directory for a while, message boxes nobody has to close, and the state a start leaves behind, so that
// every entry can be chosen as the first choice after a fresh start.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/html_parser.h"
#include "platform/message_boxes.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace kelvox::check {

class DirectoryKeeper {
public:
    DirectoryKeeper() : previous_(QDir::currentPath()) {}
    ~DirectoryKeeper() { QDir::setCurrent(previous_); }
    DirectoryKeeper(const DirectoryKeeper&) = delete;
    DirectoryKeeper& operator=(const DirectoryKeeper&) = delete;

private:
    QString previous_;
};

class RecordedBoxes final : public MessageBoxes {
public:
    void show(const QString& text) override { shown << text; }
    bool confirm(const QString& text, const QString&) override {
        shown << text;
        return true;
    }
    QStringList shown;
};

// The tag kind, the pending values, the tokenizer's title state and the catalogue a start leaves for the
// entries' runs. Which catalogue is kept is the taker's choice: an entry's run depends only on its
// sections, while a window that draws the entry reads the entry from it too.
struct AfterStart {
    int8_t tag_kind;
    QString pending_entry_name;
    QString pending_exe_path;
    THTMLParser parser;
    Catalogue catalogue;

    static AfterStart take(const CatalogueReader& reader, const THTMLParser& parser, Catalogue catalogue) {
        return {reader.tag_kind, reader.pending_entry_name, reader.pending_exe_path, parser,
                std::move(catalogue)};
    }

    void restore(CatalogueReader& reader, THTMLParser& into_parser, Catalogue& into_catalogue) const {
        reader.tag_kind = tag_kind;
        reader.pending_entry_name = pending_entry_name;
        reader.pending_exe_path = pending_exe_path;
        into_parser = parser;
        into_catalogue = catalogue;
    }
};

} // namespace kelvox::check
