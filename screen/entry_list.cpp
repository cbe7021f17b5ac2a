#include "screen/entry_list.h"

#include "catalogue/catalogue.h"
#include "screen/menu_controls.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "screen/skin_source.h"
#include "timing/threaded_timer.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr int kRowHeight = 20;
constexpr int kFirstRowInBody = 40;
constexpr int kFirstRowOnList = 56;
constexpr int kUpButtonY = 36;
constexpr int kDownButtonY = 436;
constexpr Colour kListText = 0xEEFFEE;
constexpr Colour kListAnimationText = 0xABCDAB;
enum ScrollCell { kUpPlain = 0, kDownPlain = 1, kUpLit = 2, kDownLit = 3 };

} // namespace

void EntryList::load_skin(const SkinSource& skin) {
    skin.load(lista_g_bitmap_, "lista_g.bmp");
    skin.load(lista_tlo_bitmap_, "lista_tlo.bmp");

    list_canvas_.SetSize(188, 454);
    list_canvas_.Canvas().brush.style = BrushStyle::Clear;
    list_canvas_.Canvas().font = {QStringLiteral("Tahoma"), 8, false, false, kListText};

    list_animation_canvas_.SetSize(188, 458);
    list_animation_canvas_.Canvas().font.name = QStringLiteral("Fixedsys");
    list_animation_canvas_.Canvas().font.colour = kListAnimationText;
    list_animation_canvas_.Canvas().brush.style = BrushStyle::Clear;
    list_backdrop_.SetSize(188, 458);

    body_cells_.Clear();
    body_cells_.SetSize(188, 454);
    body_cells_.SetTransparentColour(kWhite);
    body_cells_.Add(lista_g_bitmap_, kWhite);
    skin.fill(banner_cells_, 188, 34, kWhite, {"lista_ban.bmp"});
    skin.fill(bottom_cells_, 188, 16, kWhite, {"lista_d.bmp"});
    skin.fill(scroll_cells_, 20, 20, kWhite, {"scroll01.bmp", "scroll02.bmp", "scroll1.bmp", "scroll2.bmp"});
}

void EntryList::take_backdrop() {
    list_backdrop_.Canvas().CopyFrom(0, 0, view_.controls.lista.Surface(), Rect::sized(0, 0, 188, 458));
}

void EntryList::draw_bottom_edge(Canvas& canvas, int y) const {
    bottom_cells_.Draw(canvas, 0, y, 0);
}

void EntryList::release() {
    for (Bitmap* bitmap :
         {&lista_g_bitmap_, &lista_tlo_bitmap_, &list_canvas_, &list_animation_canvas_, &list_backdrop_})
        *bitmap = Bitmap();
}

void EntryList::render_list() {
    const Catalogue& catalogue = view_.catalogue;
    MenuControls& controls = view_.controls;
    const int section = view_.state.selected_section;
    const int n = static_cast<uint16_t>(catalogue.entry_count(section));
    const int f = std::min<int>(first_visible_, n);
    const int end = n - f > kMaxRows ? f + kMaxRows : n;
    visible_rows_ = static_cast<uint16_t>(end - f);

    Canvas& canvas = list_canvas_.Canvas();
    canvas.CopyFrom(0, 0, lista_g_bitmap_, {0, 0, 188, 454});
    for (int i = f; i < end; ++i) {
        const int r = i - f;
        canvas.CopyFrom(0, kFirstRowInBody + kRowHeight * r, lista_tlo_bitmap_, {0, 0, 188, kRowHeight},
                        CopyMode::Or);
        canvas.TextOut(10, 42 + kRowHeight * r, catalogue.entry(section, i).name);
    }

    can_scroll_up_ = f > 0;
    if (!can_scroll_up_)
        controls.przewin_gora.Hide();
    can_scroll_down_ = end < n;
    if (!can_scroll_down_)
        controls.przewin_dol.Hide();
    body_cells_.Replace(0, list_canvas_, kWhite);
}

void EntryList::render_from_top() {
    first_visible_ = 0;
    render_list();
}

void EntryList::compose_list(int banner, int body, const QString& name) {
    Canvas& canvas = list_animation_canvas_.Canvas();
    canvas.Draw(0, 0, list_backdrop_);
    body_cells_.Draw(canvas, 0, body, 0);
    bottom_cells_.Draw(canvas, 0, 442, 0);
    banner_cells_.Draw(canvas, banner, 0, 0);
    canvas.TextOut(banner + 30, 9, name.toUpper());
    Image& lista = view_.controls.lista;
    lista.Canvas().CopyFrom(0, 0, list_animation_canvas_, {0, 0, 188, 458});
    lista.Repaint();
}

void EntryList::compose_at_rest() {
    compose_list(0, 16, view_.state.selected_section_name);
}

void EntryList::start_row_hover() {
    rows_live_ = true;
    view_.controls.lista.OnMouseMove = [this](ShiftState, int x, int y) { listaMouseMove(x, y); };
}

void EntryList::stop_row_hover() {
    rows_live_ = false;
    view_.controls.lista.OnMouseMove = nullptr;
}

int EntryList::entry_count() const {
    // As many as the list can show, which counts them in 16 bits.
    return static_cast<uint16_t>(view_.catalogue.entry_count(view_.state.selected_section));
}

void EntryList::place_row_highlight(int row) {
    MenuControls& controls = view_.controls;
    hover_row_ = static_cast<uint16_t>(row);
    controls.listazaznak.SetTop(controls.lista.Top() + kFirstRowOnList + kRowHeight * hover_row_);
    if (!controls.listazaznak.Visible())
        controls.listazaznak.Show();
}

Rect EntryList::row_bounds(int entry) const {
    const int row = entry - first_visible_;
    if (row < 0 || row >= visible_rows_)
        return {};
    const Image& list = view_.controls.lista;
    return Rect::sized(list.Left(), list.Top() + kFirstRowOnList + kRowHeight * row, list.Width(),
                       kRowHeight);
}

void EntryList::highlight_entry(int entry) {
    if (!rows_live_ || entry < 0 || entry >= entry_count())
        return;
    if (entry < first_visible_)
        scroll_to(entry);
    else if (entry >= first_visible_ + visible_rows_)
        scroll_to(entry - kMaxRows + 1);
    place_row_highlight(entry - first_visible_);
}

void EntryList::hide_row_highlight() {
    view_.controls.listazaznak.Hide();
}

// The list from that entry on, with both scroll buttons in their plain pictures where they apply.
void EntryList::scroll_to(int first) {
    MenuControls& controls = view_.controls;
    controls.listazaznak.Hide();
    first_visible_ = static_cast<uint16_t>(first);
    render_list();
    compose_at_rest();
    if (can_scroll_up_) {
        up_hover_ = false;
        give_button_picture(controls.przewin_gora, kUpButtonY, kUpPlain);
        controls.przewin_gora.Show();
    }
    if (can_scroll_down_) {
        down_hover_ = false;
        give_button_picture(controls.przewin_dol, kDownButtonY, kDownPlain);
        controls.przewin_dol.Show();
    }
}

void EntryList::scroll_by_wheel(int notches) {
    if (!rows_live_)
        return;
    for (; notches > 0; --notches)
        przewin_goraMouseDown();
    for (; notches < 0; ++notches)
        przewin_dolMouseDown();
}

void EntryList::listaMouseMove(int, int y) {
    MenuControls& controls = view_.controls;
    view_.state.entry_armed = false;
    controls.menuzaznak.Hide();
    if (down_hover_) {
        down_hover_ = false;
        give_button_picture(controls.przewin_dol, kDownButtonY, kDownPlain);
    }
    if (up_hover_) {
        up_hover_ = false;
        give_button_picture(controls.przewin_gora, kUpButtonY, kUpPlain);
    }
    const bool animating = static_cast<bool>(view_.timer1.OnTimer());
    if (y <= kFirstRowOnList || y >= kFirstRowOnList + kRowHeight * visible_rows_ || animating) {
        controls.listazaznak.Hide();
        return;
    }
    place_row_highlight((y - kFirstRowOnList) / kRowHeight);
}

// A button's picture is the list pixels under it with the arrow cell drawn over them.
void EntryList::give_button_picture(Image& button, int list_y, int cell) {
    Canvas& canvas = button.Canvas();
    canvas.CopyFrom(0, 0, view_.controls.lista.Surface(), Rect::sized(84, list_y, 20, 20));
    scroll_cells_.Draw(canvas, 0, 0, cell);
    button.Repaint();
}

void EntryList::offer_scroll_down() {
    if (!can_scroll_down_)
        return;
    give_button_picture(view_.controls.przewin_dol, kDownButtonY, kDownPlain);
    view_.controls.przewin_dol.Show();
}

void EntryList::przewin_dolMouseMove() {
    if (down_hover_)
        return;
    down_hover_ = true;
    give_button_picture(view_.controls.przewin_dol, kDownButtonY, kDownLit);
}

void EntryList::przewin_goraMouseMove() {
    if (up_hover_)
        return;
    up_hover_ = true;
    give_button_picture(view_.controls.przewin_gora, kUpButtonY, kUpLit);
}

void EntryList::przewin_dolMouseDown() {
    // A press that arrives after the last entry came into view (the button is hidden then) must not
    // push the list past its end.
    if (!can_scroll_down_)
        return;
    view_.controls.listazaznak.Hide();
    ++first_visible_;
    render_list();
    compose_at_rest();
    give_button_picture(view_.controls.przewin_gora, kUpButtonY, kUpPlain);
    view_.controls.przewin_gora.Show();
}

void EntryList::przewin_goraMouseDown() {
    if (!can_scroll_up_)
        return;
    view_.controls.listazaznak.Hide();
    --first_visible_;
    render_list();
    compose_at_rest();
    give_button_picture(view_.controls.przewin_dol, kDownButtonY, kDownPlain);
    view_.controls.przewin_dol.Show();
}

} // namespace kelvox
