#pragma once
// Fonts registered from a TrueType file for the run of the program.
#include <QString>

namespace kelvox {

class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    // Registers the font file (named as the disc names it); true when a font was added.
    virtual bool add(const QString& file) = 0;
    // Gives up one registration of that file; nothing happens when it has none.
    virtual void remove(const QString& file) = 0;
};

} // namespace kelvox
