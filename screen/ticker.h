#pragma once
// The ticker strip: one line of text drops in from above, runs to the left and darkens; and the wipe
// that slides the strip's picture down after an unpack run. Both are steps of scrolltimer.
#include "platform/bitmap.h"
#include "platform/colour.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kelvox {

struct MenuView;

class Ticker {
public:
    explicit Ticker(MenuView& view) : view_(view) {}

    // The disc's ticker lines, line i for section i.
    void set_lines(QStringList lines);
    int line_count() const { return static_cast<int>(lines_.size()); }
    // The strip's picture at the layout's width, in the skin's font.
    void size_strip(const QString& font_face);
    void release();
    // The strip's picture, which the unpack run draws its progress on, and its showing on the strip.
    Bitmap& strip() { return ticker_canvas_; }
    void show_strip();

    // The line of the section, when the disc has one.
    void show_section_line(int section);
    // Shows the text from the top: dropping in at the right edge, in the darkest green. While the strip
    // is held the text waits, and runs when the wipe that follows has ended.
    void restart_ticker(const QString& text);
    // A failed unpack run keeps its line and cancel picture on the strip until the reader presses
    // the cancel area: the ticker does not draw over them meanwhile.
    void hold_strip(bool held) { held_ = held; }
    // The line the strip runs (or ran last).
    const QString& line() const { return ticker_text_; }
    void scrolltimerMMTimer();
    // Starts the wipe: the strip holds its picture for 150 ticks, then slides it down and out.
    void start_wipe();
    void scrollwymaz();

private:
    void draw();
    // Measures the line again when it is not the text last measured.
    void measure();
    // The shortest end of the line, in whole characters, at least `width` pixels wide (all of it
    // when it is narrower).
    void cut_tail(int width);

    MenuView& view_;
    bool held_ = false;
    std::optional<QString> waiting_text_;
    Bitmap ticker_canvas_;
    QString ticker_text_;
    // Where the line stands on the strip, and its colour; the wipe moves the strip's picture by y.
    int32_t ticker_x_ = 10;
    int32_t ticker_y_ = -22;
    Colour ticker_colour_ = 0x003300;
    // Counted in full: kept in eight bits, a file of 256 lines would count as none and no section
    // would ever get its line.
    QStringList lines_;
    // A tick costs the same for a line of any length: the whole line is measured once, and only its
    // end, the part that can stand on the strip, is laid out and drawn (its right end is at the strip's
    // right edge when the run starts, and it only moves left).
    bool measured_ = false;
    QString measured_text_;
    int measured_width_ = 0;
    qreal measured_exact_width_ = 0;
    QString tail_;
    qreal tail_offset_ = 0; // the exact width of what precedes the tail
    int tail_covers_ = 0;   // the strip width the tail was cut for
};

} // namespace kelvox
