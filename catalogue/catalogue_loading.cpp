#include "catalogue/catalogue_loading.h"

#include "platform/disc_file.h"
#include "platform/files.h"
#include "platform/platform_error.h"
#include "platform/text_file.h"

namespace kelvox {

namespace {

void run_file(THTMLParser& parser, const QString& directory, const QString& name, qint64 max_bytes) {
    parser.HTML.clear();
    read_in_directory(directory, name, [&parser, max_bytes](const QString& path) {
        parser.HTML = load_text_lines(path, max_bytes);
    });
    parser.Execute();
}

} // namespace

void load_catalogue(THTMLParser& parser, Catalogue& catalogue, const QString& program_dir) {
    catalogue.clear();
    run_file(parser, program_dir, QStringLiteral("menu\\index.xml"), kCatalogueFileCap);
}

void load_entry_description(THTMLParser& parser, EntryDescription& description, const QString& program_dir,
                            const QString& path) {
    description.reset();
    description.program_dir = program_dir;
    const QString info = QStringLiteral("info.xml");
    const QString directory = disc_path_in(program_dir, path);
    if (!directory_exists(directory))
        throw cannot_open_file(info);
    run_file(parser, directory, info, kDescriptionFileCap);
}

QStringList load_ticker_lines(const QString& program_dir) {
    QStringList lines;
    read_in_directory(program_dir, QStringLiteral("menu\\reklamy.txt"),
                      [&lines](const QString& path) { lines = load_text_lines(path, kTickerFileCap); });
    return lines;
}

} // namespace kelvox
