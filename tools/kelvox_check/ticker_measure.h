#pragma once
// Ticker lines measured as the menu's ticker canvas measures them: the skin's font, size 18.
#include "platform/bitmap.h"
#include "platform/qt/qt_font_registry.h"

#include <QString>

namespace kelvox::check {

class TickerMeasure {
public:
    // Registers the skin's font, relative to the current directory (the disc's root), for as long as
    // the measure lives; without it the platform's substitute is measured, as the menu would draw it.
    TickerMeasure();
    ~TickerMeasure();
    TickerMeasure(const TickerMeasure&) = delete;
    TickerMeasure& operator=(const TickerMeasure&) = delete;

    // Text can only be measured inside a GUI application (kelvox-check makes one on the offscreen
    // platform); elsewhere nothing is measured.
    bool available() const { return available_; }
    int width(const QString& line) const;

private:
    bool available_ = false;
    bool font_added_ = false;
    QtFontRegistry fonts_;
    Bitmap canvas_;
};

} // namespace kelvox::check
