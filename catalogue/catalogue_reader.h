#pragma once
// The state machine behind the tokenizer's events while index.xml and each info.xml are read: a tag
// says what the next text is, the text goes into the catalogue or the entry description.
//
// Both files share one set of tag kinds and the kind is never reset, so an info.xml run goes on from
// whatever kind the last tag left, and catalogue tags in an info.xml still add to the catalogue.
#include "catalogue/catalogue.h"
#include "catalogue/entry_description.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace kelvox {

class THTMLParser;

class CatalogueReader {
public:
    // Tag kinds; the numbers are those of the tag table, in its order.
    enum Kind : int8_t {
        kSectionName = 0,  // "nazwa"
        kEntryName = 1,    // "nazwa_e"
        kEntryPath = 2,    // "sciezka"
        kEntryFile = 3,    // "sciezka_exe"
        kTitle = 4,        // "_nazwa"
        kDescription = 5,  // "_opis"
        kRequirements = 6, // "_wymagania"
        kPicture = 7,      // "_obrazek"
        kType = 8,         // "_typ"
        kOther = 100,      // any other tag, closing tags included
    };

    CatalogueReader(Catalogue& catalogue, EntryDescription& description);

    // Kind of the last tag seen. Starts as a section name, so text before the first tag of a file
    // opens a section.
    int8_t tag_kind = kSectionName;
    QString pending_entry_name;
    QString pending_exe_path;

    // A catalogue text that found no place: a 21st section's name, or an entry path before any section.
    std::function<void(int8_t kind, const QString& text)> OnTextDropped;

    // The tokenizer's OnFoundTag: the whole tag text, compared case-sensitively.
    void parserFoundTag(THTMLParser& Sender, const QString& Tag);
    // The tokenizer's OnFoundText: acts by tag_kind, which it leaves as it is.
    void parserFoundText(THTMLParser& Sender, const QString& Text);

    // The kind a tag text sets.
    static int8_t kind_of(const QString& tag);

private:
    void dropped(const QString& text);

    Catalogue& catalogue_;
    EntryDescription& description_;
};

} // namespace kelvox
