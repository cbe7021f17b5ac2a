// Feeds arbitrary bytes through the disc's text decoding, the tokenizer and the catalogue's state
// machine: first as index.xml, then as an info.xml of the same run, as the menu does. Aborts when an
// invariant breaks: no more than 20 sections, wrapped lines within their width.
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "platform/text_codec.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvox;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Catalogue catalogue;
    EntryDescription description;
    description.program_dir = QStringLiteral("D:");
    int pictures_loaded = 0;
    description.OnLoadPicture = [&](const QString&) { ++pictures_loaded; };
    CatalogueReader reader(catalogue, description);
    THTMLParser parser(nullptr);
    parser.OnFoundTag = [&](THTMLParser& sender, const QString& tag) { reader.parserFoundTag(sender, tag); };
    parser.OnFoundText = [&](THTMLParser& sender, const QString& text) {
        reader.parserFoundText(sender, text);
    };

    const QStringList lines = decode_disc_lines(bytes);
    for (int run = 0; run < 2; ++run) {
        description.reset();
        pictures_loaded = 0;
        parser.HTML = lines;
        parser.Execute();
        require(parser.LineCount == lines.size());
        require(parser.LastLineDone <= parser.LineCount);
        require(catalogue.section_count() >= 0 && catalogue.section_count() <= Catalogue::kSectionSlots);
        for (const QString& line : description.description_lines)
            require(line.size() <= EntryDescription::kDescriptionWidth);
        for (const QString& line : description.requirement_lines)
            require(line.size() <= EntryDescription::kRequirementWidth);
        require(pictures_loaded == (description.picture_names.isEmpty() ? 0 : 1));
        require(description.picture_loaded == !description.picture_names.isEmpty());
    }
    // The dispatch steps called directly with the raw text as one tag and one text.
    const QString text = decode_disc_text(bytes);
    parser.AddTag(text);
    parser.AddText(text);
    return 0;
}
