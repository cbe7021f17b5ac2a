#include "catalogue/catalogue_reader.h"

#include <array>

namespace kelvox {

namespace {

// In the order of the kinds: the first match wins.
const std::array<QString, 9> kTagNames = {
    QStringLiteral("nazwa"),       QStringLiteral("nazwa_e"),  QStringLiteral("sciezka"),
    QStringLiteral("sciezka_exe"), QStringLiteral("_nazwa"),   QStringLiteral("_opis"),
    QStringLiteral("_wymagania"),  QStringLiteral("_obrazek"), QStringLiteral("_typ"),
};

} // namespace

CatalogueReader::CatalogueReader(Catalogue& catalogue, EntryDescription& description)
    : catalogue_(catalogue), description_(description) {}

int8_t CatalogueReader::kind_of(const QString& tag) {
    for (std::size_t kind = 0; kind < kTagNames.size(); ++kind) {
        if (tag == kTagNames[kind])
            return int8_t(kind);
    }
    return kOther;
}

void CatalogueReader::parserFoundTag(THTMLParser&, const QString& Tag) {
    tag_kind = kind_of(Tag);
}

void CatalogueReader::parserFoundText(THTMLParser&, const QString& Text) {
    switch (tag_kind) {
    case kSectionName:
        if (!catalogue_.open_section(Text))
            dropped(Text);
        break;
    case kEntryName:
        pending_entry_name = Text;
        break;
    case kEntryPath:
        if (!catalogue_.add_entry(CatalogueEntry{pending_entry_name, Text, pending_exe_path}))
            dropped(Text);
        break;
    case kEntryFile:
        pending_exe_path = Text;
        break;
    case kTitle:
        description_.take_title(Text);
        break;
    case kDescription:
        description_.add_description(Text);
        break;
    case kRequirements:
        description_.add_requirements(Text);
        break;
    case kPicture:
        description_.add_picture(Text);
        break;
    case kType:
        description_.take_type(Text);
        break;
    default:
        break;
    }
}

void CatalogueReader::dropped(const QString& text) {
    if (OnTextDropped)
        OnTextDropped(tag_kind, text);
}

} // namespace kelvox
