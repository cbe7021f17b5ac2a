#include "catalogue/catalogue_loading.h"

#include "platform/disc_file.h"
#include "platform/files.h"
#include "platform/platform_error.h"
#include "platform/text_file.h"

namespace kelvox {

namespace {

void run_file(THTMLParser& parser, const QString& name, qint64 max_bytes) {
    parser.HTML.clear();
    parser.HTML = load_text_lines(name, max_bytes);
    parser.Execute();
}

} // namespace

void load_catalogue(THTMLParser& parser, Catalogue& catalogue) {
    catalogue.clear();
    run_file(parser, QStringLiteral("menu\\index.xml"), kCatalogueFileCap);
}

void load_entry_description(THTMLParser& parser, EntryDescription& description, const QString& program_dir,
                            const QString& path) {
    description.reset();
    description.program_dir = program_dir;
    const QString info = QStringLiteral("info.xml");
    if (!set_current_directory(program_dir + QLatin1Char('\\') + path))
        throw cannot_open_file(info);
    run_file(parser, info, kDescriptionFileCap);
}

QStringList load_ticker_lines() {
    return load_text_lines(QStringLiteral("menu\\reklamy.txt"), kTickerFileCap);
}

} // namespace kelvox
