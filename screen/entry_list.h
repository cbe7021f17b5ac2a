#pragma once
// The entry list: the selected section's entries under a banner with its name, at most 19 rows at a
// time, the inverting row highlight under the pointer and the two scroll buttons.
#include "platform/bitmap.h"
#include "platform/image_list.h"

#include <QString>

#include <cstdint>

namespace kelvox {

class Canvas;
class Image;
class SkinSource;
struct MenuView;

class EntryList {
public:
    explicit EntryList(MenuView& view) : view_(view) {}

    static constexpr int kMaxRows = 19;

    // The list's pictures from the skin: body, row background, banner, bottom edge, scroll arrows.
    void load_skin(const SkinSource& skin);
    // The background under the list, kept for the list's frames.
    void take_backdrop();
    // The bottom edge of the list at y on a canvas (the screen build's background of the list).
    void draw_bottom_edge(Canvas& canvas, int y) const;
    void release();

    // Renders the selected section's rows from its first entry into the body picture.
    void render_from_top();
    // One picture of the list: backdrop, body at body, bottom edge, banner at banner with the name.
    void compose_list(int banner, int body, const QString& name);
    void compose_at_rest();

    // The row-hover handler, installed only while a list is at rest.
    void listaMouseMove(int x, int y);
    void start_row_hover();
    void stop_row_hover();

    // The entry under the row highlight, an index into the selected section's entries.
    int hovered_entry() const { return first_visible_ + hover_row_; }
    // The list stands still and its rows answer the pointer.
    bool rows_live() const { return rows_live_; }
    int entry_count() const;
    int first_visible() const { return first_visible_; }
    // The row of the entry in window pixels, or an empty rectangle while it is scrolled away.
    Rect row_bounds(int entry) const;

    // The keyboard's highlight: the row highlight over the entry, the list scrolled first when the
    // entry is not among the visible rows (as far as the entry needs, with the scroll buttons'
    // pictures as a press on them leaves them). Nothing while the list moves.
    void highlight_entry(int entry);
    void hide_row_highlight();
    // A wheel's turn over the list: a row per notch, up for positive notches, as the scroll buttons
    // scroll it; nothing while the list moves or where there is nothing more to see.
    void scroll_by_wheel(int notches);

    void przewin_dolMouseMove();
    void przewin_goraMouseMove();
    void przewin_dolMouseDown();
    void przewin_goraMouseDown();

    // The scroll-down button with its plain picture, shown when entries lie below the last row.
    void offer_scroll_down();

private:
    // Renders the selected section's rows from the first one shown into the body picture.
    void render_list();
    void give_button_picture(Image& button, int list_y, int cell);
    void place_row_highlight(int row);
    void scroll_to(int first);

    MenuView& view_;
    Bitmap lista_g_bitmap_;
    Bitmap lista_tlo_bitmap_;
    Bitmap list_canvas_;
    Bitmap list_animation_canvas_;
    Bitmap list_backdrop_;
    ImageList body_cells_; // the rendered body, drawn leaving white out
    ImageList banner_cells_;
    ImageList bottom_cells_;
    ImageList scroll_cells_;
    uint16_t first_visible_ = 0;
    uint16_t visible_rows_ = 0;
    uint16_t hover_row_ = 0;
    bool can_scroll_up_ = false;
    bool can_scroll_down_ = false;
    bool up_hover_ = false;
    bool down_hover_ = false;
    bool rows_live_ = false;
};

} // namespace kelvox
