#include "screen/entry_list.h"

#include "app/tform1.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr int kRowHeight = 20;
constexpr int kFirstRowInBody = 40;
constexpr int kFirstRowOnList = 56;
constexpr int kUpButtonY = 36;
constexpr int kDownButtonY = 436;
enum ScrollCell { kUpPlain = 0, kDownPlain = 1, kUpLit = 2, kDownLit = 3 };

} // namespace

void EntryList::render_list() {
    const Catalogue& catalogue = form_.catalogue;
    const int section = form_.section_bar.selected_section;
    const int n = static_cast<uint16_t>(catalogue.entry_count(section));
    const int f = std::min<int>(first_visible, n);
    const int end = n - f > kMaxRows ? f + kMaxRows : n;
    visible_rows = static_cast<uint16_t>(end - f);

    Canvas& canvas = form_.list_canvas.Canvas();
    canvas.CopyFrom(0, 0, form_.lista_g_bitmap, {0, 0, 188, 454});
    for (int i = f; i < end; ++i) {
        const int r = i - f;
        canvas.CopyFrom(0, kFirstRowInBody + kRowHeight * r, form_.lista_tlo_bitmap, {0, 0, 188, kRowHeight},
                        CopyMode::Or);
        canvas.TextOut(10, 42 + kRowHeight * r, catalogue.entry(section, i).name);
    }

    can_scroll_up = f > 0;
    if (!can_scroll_up)
        form_.przewin_gora.Hide();
    can_scroll_down = end < n;
    if (!can_scroll_down)
        form_.przewin_dol.Hide();
    form_.ImageList1.Replace(0, form_.list_canvas, kWhite);
}

void EntryList::compose_list(int banner, int body, const QString& name) {
    Canvas& canvas = form_.list_animation_canvas.Canvas();
    canvas.Draw(0, 0, form_.list_backdrop);
    form_.ImageList1.Draw(canvas, 0, body, 0);
    form_.ImageList3.Draw(canvas, 0, 442, 0);
    form_.ImageList2.Draw(canvas, banner, 0, 0);
    canvas.TextOut(banner + 30, 9, name.toUpper());
    form_.lista.Canvas().CopyFrom(0, 0, form_.list_animation_canvas, {0, 0, 188, 458});
    form_.lista.Repaint();
}

void EntryList::compose_at_rest() {
    compose_list(0, 16, form_.section_bar.selected_section_name);
}

void EntryList::start_row_hover() {
    form_.lista.OnMouseMove = [this](ShiftState, int x, int y) { listaMouseMove(x, y); };
}

void EntryList::stop_row_hover() {
    form_.lista.OnMouseMove = nullptr;
}

void EntryList::listaMouseMove(int, int y) {
    form_.entry_armed = false;
    form_.menuzaznak.Hide();
    if (down_hover) {
        down_hover = false;
        give_button_picture(form_.przewin_dol, kDownButtonY, kDownPlain);
    }
    if (up_hover) {
        up_hover = false;
        give_button_picture(form_.przewin_gora, kUpButtonY, kUpPlain);
    }
    const bool animating = static_cast<bool>(form_.timer1.OnTimer());
    if (y <= kFirstRowOnList || y >= kFirstRowOnList + kRowHeight * visible_rows || animating) {
        form_.listazaznak.Hide();
        return;
    }
    hover_row = static_cast<uint16_t>((y - kFirstRowOnList) / kRowHeight);
    form_.listazaznak.SetTop(form_.lista.Top() + kFirstRowOnList + kRowHeight * hover_row);
    if (!form_.listazaznak.Visible())
        form_.listazaznak.Show();
}

// A button's picture is the list pixels under it with the arrow cell drawn over them.
void EntryList::give_button_picture(Image& button, int list_y, int cell) {
    Canvas& canvas = button.Canvas();
    canvas.CopyFrom(0, 0, form_.lista.Surface(), Rect::sized(84, list_y, 20, 20));
    form_.scrolllista.Draw(canvas, 0, 0, cell);
    button.Repaint();
}

void EntryList::show_scroll_down() {
    give_button_picture(form_.przewin_dol, kDownButtonY, kDownPlain);
    form_.przewin_dol.Show();
}

void EntryList::przewin_dolMouseMove() {
    if (down_hover)
        return;
    down_hover = true;
    give_button_picture(form_.przewin_dol, kDownButtonY, kDownLit);
}

void EntryList::przewin_goraMouseMove() {
    if (up_hover)
        return;
    up_hover = true;
    give_button_picture(form_.przewin_gora, kUpButtonY, kUpLit);
}

void EntryList::przewin_dolMouseDown() {
    // A press that arrives after the last entry came into view (the button is hidden then) must not
    // push the list past its end.
    if (!can_scroll_down)
        return;
    form_.listazaznak.Hide();
    ++first_visible;
    render_list();
    compose_at_rest();
    give_button_picture(form_.przewin_gora, kUpButtonY, kUpPlain);
    form_.przewin_gora.Show();
}

void EntryList::przewin_goraMouseDown() {
    if (!can_scroll_up)
        return;
    form_.listazaznak.Hide();
    --first_visible;
    render_list();
    compose_at_rest();
    give_button_picture(form_.przewin_dol, kDownButtonY, kDownPlain);
    form_.przewin_dol.Show();
}

} // namespace kelvox
