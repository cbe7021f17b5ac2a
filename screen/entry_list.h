#pragma once
// The entry list: the selected section's entries under a banner with its name, at most 19 rows at a
// time, the inverting row highlight under the pointer and the two scroll buttons.
#include <QString>

#include <cstdint>

namespace kelvox {

class Image;
class TForm1;

class EntryList {
public:
    explicit EntryList(TForm1& form) : form_(form) {}

    static constexpr int kMaxRows = 19;

    uint16_t first_visible = 0;
    uint16_t visible_rows = 0;
    uint16_t hover_row = 0;
    bool can_scroll_up = false;
    bool can_scroll_down = false;
    bool up_hover = false;
    bool down_hover = false;
    int32_t banner_x = 0;
    int32_t body_y = 16;

    // Renders the selected section's rows from first_visible into the body picture.
    void render_list();
    // One picture of the list: backdrop, body at body_y, bottom edge, banner at banner_x with the name.
    void compose_list(int banner, int body, const QString& name);
    void compose_at_rest();

    // The row-hover handler, installed only while a list is at rest.
    void listaMouseMove(int x, int y);
    void start_row_hover();
    void stop_row_hover();

    // The entry under the row highlight, an index into the selected section's entries.
    int hovered_entry() const { return first_visible + hover_row; }

    void przewin_dolMouseMove();
    void przewin_goraMouseMove();
    void przewin_dolMouseDown();
    void przewin_goraMouseDown();

    // The scroll-down button with its plain picture, shown.
    void show_scroll_down();

private:
    void give_button_picture(Image& button, int list_y, int cell);

    TForm1& form_;
};

} // namespace kelvox
