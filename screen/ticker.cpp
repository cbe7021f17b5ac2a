#include "screen/ticker.h"

#include "app/tform1.h"

namespace kelvox {

namespace {

constexpr Colour kGreenStep = 0x000100;
constexpr int kStripHeight = 22;
constexpr int kWipeHold = 150;

} // namespace

int Ticker::text_width(const QString& text) const {
    return form_.ticker_canvas.Canvas().TextWidth(text);
}

void Ticker::restart_ticker(const QString& text) {
    form_.scrolltimer.SetOnTimer({});
    ticker_y = -22;
    ticker_colour = 0x003300;
    ticker_text = text;
    ticker_x = form_.scroll.Width() - text_width(text);
    form_.scrolltimer.SetOnTimer([this](TThreadedTimer*) { scrolltimerMMTimer(); });
}

void Ticker::scrolltimerMMTimer() {
    if (ticker_y < -2) {
        ++ticker_y;
        ticker_colour += 6 * kGreenStep;
    } else {
        --ticker_x;
        if (ticker_x < 1 && ticker_colour > 0)
            ticker_colour -= kGreenStep;
        if (ticker_x < -text_width(ticker_text))
            form_.scrolltimer.SetOnTimer({});
    }
    draw();
}

void Ticker::draw() {
    Canvas& canvas = form_.ticker_canvas.Canvas();
    canvas.font.colour = ticker_colour;
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
    canvas.TextOut(ticker_x, ticker_y, ticker_text);
    form_.scroll.Canvas().Draw(0, 0, form_.ticker_canvas);
    form_.scroll.Repaint();
}

void Ticker::start_wipe() {
    ticker_y = 0;
    form_.transitions.delay_ticks = 0;
    form_.scrolltimer.SetOnTimer([this](TThreadedTimer*) { scrollwymaz(); });
}

void Ticker::scrollwymaz() {
    uint8_t& hold = form_.transitions.delay_ticks;
    if (hold < kWipeHold) {
        ++hold;
        return;
    }
    Canvas& canvas = form_.ticker_canvas.Canvas();
    const int width = form_.scroll.Width();
    const int height = form_.scroll.Height();
    canvas.FillRect({0, 0, width, height});
    canvas.CopyFrom(0, ticker_y, form_.scroll.Surface(), {0, 0, width, height - ticker_y});
    form_.scroll.Canvas().Draw(0, 0, form_.ticker_canvas);
    form_.scroll.Repaint();
    if (++ticker_y > kStripHeight) {
        form_.scrolltimer.SetOnTimer({});
        ticker_y = 0;
    }
}

} // namespace kelvox
