#pragma once
// The section bar: the catalogue's section names right of the entry list, the inverting highlight over
// the one under the pointer, selection by a press on it, and the minimise and close buttons.
#include "platform/bitmap.h"
#include "platform/image_list.h"

#include <QString>

#include <cstdint>

namespace kelvox {

class MenuScreen;
class SkinSource;
struct MenuView;

class SectionBar {
public:
    SectionBar(MenuView& view, MenuScreen& screen) : view_(view), screen_(screen) {}

    // The bar's pieces and window buttons from the skin.
    void load_skin(const SkinSource& skin);
    // The bar's picture at the layout's width, in the bar's font.
    void size_canvas();
    // The pictures go; a late handler draws nothing.
    void release();

    // The bar's width inside the window.
    int bar_width() const;

    // One picture of the bar, its left piece at left_x and its first name's separator at text_x, shown
    // on the bar image.
    void draw_bar(int left_x, int text_x);
    // Draws a cell of the window buttons (0 plain, 1 minimise lit, 2 close lit) straight onto the bar.
    void draw_buttons(int cell);
    // The window buttons plain again, when one of them was lit.
    void unlight_buttons();

    void menuMouseMove(int x, int y);
    // A press on the highlight selects the section under it.
    void menuzaznakMouseDown() { select_section(hover_section_); }
    void menuClick();
    // The keyboard's highlight: the inverting highlight over the section's name, as the pointer puts
    // it there; a press on it (or select_highlighted) selects that section.
    void highlight_section(int section);
    void hide_highlight();
    void select_highlighted() { select_section(hover_section_); }
    // Where the section's name stands on the bar once the intro is over, in window pixels: the span
    // its highlight covers.
    Rect section_bounds(int section) const;
    // The section of that index becomes the selected one: the panel goes and its list comes.
    void select_section(int section);

    const Bitmap& canvas() const { return section_bar_canvas_; }

private:
    int name_width(const QString& name) const;
    // The width a section's name takes on the bar, its margins included.
    uint32_t span_width(int section) const;
    uint32_t span_left(int section) const;
    void place_highlight(int section, uint32_t span_left, uint32_t span);

    MenuView& view_;
    MenuScreen& screen_;
    Bitmap menu_l_bitmap_;
    Bitmap menu_s_bitmap_;
    Bitmap menu_r_bitmap_;
    Bitmap separator_bitmap_;
    Bitmap section_bar_canvas_;
    ImageList system_;
    // The section under the pointer, and the span of its name, kept while the pointer stays in it.
    int16_t hover_section_ = 0;
    uint16_t hover_span_left_ = 0;
    uint16_t hover_span_right_ = 0;
    bool minimise_hover_ = false;
    bool close_hover_ = false;
};

} // namespace kelvox
