#include "screen/ticker.h"

#include "screen/menu_controls.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "timing/threaded_timer.h"

namespace kelvox {

namespace {

constexpr Colour kGreenStep = 0x000100;
constexpr int kStripHeight = 22;
constexpr int kWipeHold = 150;
// Room for a glyph at the cut that reaches to the right of its advance.
constexpr int kTailSlack = 32;
constexpr qsizetype kFirstTailLength = 64;
constexpr Colour kTickerGreen = 0x00B600;

} // namespace

void Ticker::set_lines(QStringList lines) {
    lines_ = std::move(lines);
}

void Ticker::size_strip(const QString& font_face) {
    Canvas& canvas = ticker_canvas_.Canvas();
    canvas.brush = {kBlack, BrushStyle::Solid};
    canvas.font.name = font_face;
    canvas.font.size = 18;
    canvas.pen.colour = kTickerGreen;
    ticker_canvas_.SetSize(view_.state.layout_width, kStripHeight);
}

void Ticker::release() {
    ticker_canvas_ = Bitmap();
    lines_.clear();
}

void Ticker::show_strip() {
    Image& scroll = view_.controls.scroll;
    scroll.Canvas().Draw(0, 0, ticker_canvas_);
    scroll.Repaint();
}

void Ticker::show_section_line(int section) {
    if (section < line_count())
        restart_ticker(lines_.at(section));
}

void Ticker::measure() {
    // The same string data (not merely equal text): comparing a megabyte each tick is what must not
    // happen.
    if (measured_ && ticker_text_.constData() == measured_text_.constData() &&
        ticker_text_.size() == measured_text_.size())
        return;
    measured_ = true;
    measured_text_ = ticker_text_;
    // Once: the width in whole pixels is the exact one rounded, as the canvas rounds it.
    measured_exact_width_ = ticker_canvas_.Canvas().ExactTextWidth(ticker_text_);
    measured_width_ = qRound(measured_exact_width_);
    tail_covers_ = -1;
}

void Ticker::cut_tail(int width) {
    tail_covers_ = width;
    for (qsizetype length = kFirstTailLength; length < measured_text_.size(); length *= 2) {
        qsizetype from = measured_text_.size() - length;
        // at(), not []: writable access would copy the text, which then no longer counts as measured.
        if (measured_text_.at(from).isLowSurrogate())
            --from;
        const QString tail = measured_text_.mid(from);
        const qreal tail_width = ticker_canvas_.Canvas().ExactTextWidth(tail);
        if (tail_width >= width + kTailSlack) {
            tail_ = tail;
            tail_offset_ = measured_exact_width_ - tail_width;
            return;
        }
    }
    tail_ = measured_text_;
    tail_offset_ = 0;
}

void Ticker::restart_ticker(const QString& text) {
    if (held_) {
        waiting_text_ = text;
        return;
    }
    waiting_text_.reset();
    view_.scrolltimer.SetOnTimer({});
    ticker_y_ = -22;
    ticker_colour_ = 0x003300;
    ticker_text_ = text;
    measured_ = false; // measured anew, in the canvas's present font
    measure();
    ticker_x_ = view_.controls.scroll.Width() - measured_width_;
    view_.scrolltimer.SetOnTimer([this](TThreadedTimer*) { scrolltimerMMTimer(); });
}

void Ticker::scrolltimerMMTimer() {
    if (ticker_y_ < -2) {
        ++ticker_y_;
        ticker_colour_ += 6 * kGreenStep;
    } else {
        --ticker_x_;
        if (ticker_x_ < 1 && ticker_colour_ > 0)
            ticker_colour_ -= kGreenStep;
        measure();
        if (ticker_x_ < -measured_width_)
            view_.scrolltimer.SetOnTimer({});
    }
    draw();
}

void Ticker::draw() {
    Canvas& canvas = ticker_canvas_.Canvas();
    canvas.font.colour = ticker_colour_;
    canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
    measure();
    if (tail_covers_ < canvas.Width())
        cut_tail(canvas.Width());
    if (tail_offset_ == 0)
        canvas.TextOut(ticker_x_, ticker_y_, tail_);
    else
        canvas.TextOutAt(ticker_x_ + tail_offset_, ticker_y_, tail_);
    show_strip();
}

void Ticker::start_wipe() {
    ticker_y_ = 0;
    view_.state.delay_ticks = 0;
    view_.scrolltimer.SetOnTimer([this](TThreadedTimer*) { scrollwymaz(); });
}

void Ticker::scrollwymaz() {
    uint8_t& hold = view_.state.delay_ticks;
    if (hold < kWipeHold) {
        ++hold;
        return;
    }
    Canvas& canvas = ticker_canvas_.Canvas();
    const int width = view_.controls.scroll.Width();
    const int height = view_.controls.scroll.Height();
    canvas.FillRect({0, 0, width, height});
    canvas.CopyFrom(0, ticker_y_, view_.controls.scroll.Surface(), {0, 0, width, height - ticker_y_});
    show_strip();
    if (++ticker_y_ > kStripHeight) {
        view_.scrolltimer.SetOnTimer({});
        ticker_y_ = 0;
        if (waiting_text_)
            restart_ticker(*waiting_text_);
    }
}

} // namespace kelvox
