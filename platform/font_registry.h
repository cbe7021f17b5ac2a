#pragma once
// Fonts registered from a TrueType file for the run of the program.
#include <QString>

#include <thread>

namespace kelvox {

class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    // Registers the font file (named as the disc names it); true when a font was added.
    virtual bool add(const QString& file) = 0;
    // Gives up one registration of that file; nothing happens when it has none.
    virtual void remove(const QString& file) = 0;
};

// Starts reading this system's font configuration on a worker thread and returns the worker, to be
// joined. Where fonts are configured by many files this takes longer than the toolkit's own start, and
// the first text drawn would wait for it. An empty thread where there is nothing to read.
std::thread read_font_configuration();

} // namespace kelvox
