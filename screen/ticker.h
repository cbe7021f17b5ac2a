#pragma once
// The ticker strip: one line of text drops in from above, runs to the left and darkens; and the wipe
// that slides the strip's picture down after an unpack run. Both are steps of scrolltimer.
#include "platform/colour.h"

#include <QString>

#include <cstdint>

namespace kelvox {

class TForm1;

class Ticker {
public:
    explicit Ticker(TForm1& form) : form_(form) {}

    QString ticker_text;
    int32_t ticker_x = 10;
    int32_t ticker_y = -22;
    Colour ticker_colour = 0x003300;

    // Shows the text from the top: dropping in at the right edge, in the darkest green.
    void restart_ticker(const QString& text);
    void scrolltimerMMTimer();
    // Starts the wipe: the strip holds its picture for 150 ticks, then slides it down and out.
    void start_wipe();
    void scrollwymaz();

private:
    void draw();
    int text_width(const QString& text) const;

    TForm1& form_;
};

} // namespace kelvox
