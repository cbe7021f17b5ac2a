#pragma once
// The disc's text files as the menu reads them: Windows-1250, CR LF line ends, one element a line, every
// text on one line (the menu joins the lines of a text without separators) and nothing before the first
// tag (a text there would open a section).
#include "tools/make_demo_disc/disc_content.h"

#include <QByteArray>

#include <vector>

namespace kelvox::demo {

// menu\index.xml: each section's "nazwa", then per entry "nazwa_e" and "sciezka_exe" before the
// "sciezka" that completes it.
QByteArray catalogue_xml(const std::vector<DemoSection>& sections);

// An entry's info.xml: title, description, requirements (left out when empty), pictures and type.
QByteArray description_xml(const DemoEntry& entry);

// menu\reklamy.txt: line i runs when section i comes in.
QByteArray ticker_text(const std::vector<DemoSection>& sections);

} // namespace kelvox::demo
