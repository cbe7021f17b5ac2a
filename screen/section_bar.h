#pragma once
// The section bar: the catalogue's section names right of the entry list, the inverting highlight over
// the one under the pointer, selection by a press on it, and the minimise and close buttons.
#include <QString>

#include <cstdint>

namespace kelvox {

class TForm1;

class SectionBar {
public:
    explicit SectionBar(TForm1& form) : form_(form) {}

    int32_t bar_left_x = 0;
    int32_t bar_text_x = 0;
    uint32_t bar_cursor_x = 0;
    int16_t hover_section = 0;
    QString hover_section_name;
    uint16_t hover_span_left = 0;
    uint16_t hover_span_right = 0;
    uint16_t selected_section = 0;
    QString selected_section_name;
    bool minimise_hover = false;
    bool close_hover = false;

    // The bar's width inside the window.
    int bar_width() const;

    // One picture of the bar from bar_left_x and bar_text_x, shown on the bar image.
    void draw_bar();
    // Draws a cell of the window buttons (0 plain, 1 minimise lit, 2 close lit) straight onto the bar.
    void draw_buttons(int cell);

    void menuMouseMove(int x, int y);
    void menuzaznakMouseDown();
    void menuClick();

private:
    int name_width(const QString& name) const;

    TForm1& form_;
};

} // namespace kelvox
