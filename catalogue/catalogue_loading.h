#pragma once
// Reading the disc's catalogue, an entry's description and the ticker lines.
//
// The files are named from program_dir, the disc's root; a file that cannot be opened, or that is no
// regular file of the disc within its kind's size (platform/disc_file.h), raises the platform's
// "Cannot open file %s" with the file's name on the disc ("menu\index.xml").
#include "catalogue/catalogue.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"

#include <QString>
#include <QStringList>

namespace kelvox {

// The catalogue is emptied, then "menu\index.xml" is loaded into the tokenizer and run; the tokenizer's
// events must already reach a CatalogueReader of this catalogue.
void load_catalogue(THTMLParser& parser, Catalogue& catalogue, const QString& program_dir);

// Selecting an entry: the description is emptied and the "info.xml" of program_dir + "\" + path is run
// through the tokenizer. A missing directory raises as a missing "info.xml" does.
void load_entry_description(THTMLParser& parser, EntryDescription& description, const QString& program_dir,
                            const QString& path);

// The lines of "menu\reklamy.txt", line i for section i; their count is the list's full size.
QStringList load_ticker_lines(const QString& program_dir);

} // namespace kelvox
