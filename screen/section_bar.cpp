#include "screen/section_bar.h"

#include "catalogue/catalogue.h"
#include "catalogue/entry_description.h"
#include "platform/application.h"
#include "platform/services.h"
#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "screen/skin_source.h"

namespace kelvox {

namespace {

constexpr int kBarHeight = 48;
constexpr int kLeftPieceWidth = 48;
constexpr int kMiddleTileWidth = 16;
constexpr int kRightPieceWidth = 150;
constexpr int kButtonsFromRight = 128;
constexpr int kFirstSeparator = 48;
// Space a name takes beside its own width: 12 before it, 10 after it.
constexpr int kNameMargin = 22;
constexpr Colour kButtonsTransparent = 0x8D8D8D;

bool inside_open(int value, int low, int high) {
    return low < value && value < high;
}

} // namespace

void SectionBar::load_skin(const SkinSource& skin) {
    skin.load(separator_bitmap_, "separator.bmp");
    skin.load(menu_l_bitmap_, "menu_l.bmp");
    skin.load(menu_s_bitmap_, "menu_s.bmp");
    skin.load(menu_r_bitmap_, "menu_r.bmp");
    section_bar_canvas_ = Bitmap();
    skin.fill(system_, 120, 22, kButtonsTransparent, {"winmenu.bmp", "winmenu_1.bmp", "winmenu_2.bmp"});
}

void SectionBar::size_canvas() {
    section_bar_canvas_.SetSize(bar_width(), kBarHeight);
    Canvas& canvas = section_bar_canvas_.Canvas();
    canvas.font.name = QStringLiteral("Verdana");
    canvas.font.size = 8;
    canvas.brush.style = BrushStyle::Clear;
}

void SectionBar::release() {
    for (Bitmap* bitmap :
         {&menu_l_bitmap_, &menu_s_bitmap_, &menu_r_bitmap_, &separator_bitmap_, &section_bar_canvas_})
        *bitmap = Bitmap();
}

int SectionBar::bar_width() const {
    return view_.state.layout_width - 188;
}

int SectionBar::name_width(const QString& name) const {
    return section_bar_canvas_.Canvas().TextWidth(name);
}

void SectionBar::draw_bar(int left_x, int text_x) {
    const int wb = bar_width();
    Canvas& canvas = section_bar_canvas_.Canvas();
    canvas.CopyFrom(0, 0, view_.controls.tlo.Surface(), Rect::sized(188, 29, wb, kBarHeight));
    canvas.CopyFrom(left_x, 0, menu_l_bitmap_, {0, 0, kLeftPieceWidth, kBarHeight});
    for (int x = left_x + kLeftPieceWidth; x < wb - kRightPieceWidth; x += kMiddleTileWidth)
        canvas.CopyFrom(x, 0, menu_s_bitmap_, {0, 0, kMiddleTileWidth, kBarHeight});
    canvas.CopyFrom(wb - kRightPieceWidth, 0, menu_r_bitmap_, {0, 0, kRightPieceWidth, kBarHeight});

    auto bar_cursor_x = static_cast<uint32_t>(text_x);
    const Catalogue& catalogue = view_.catalogue;
    for (int i = 0; i < catalogue.section_count(); ++i) {
        const QString name = catalogue.section_name(i);
        const int x = static_cast<int>(bar_cursor_x);
        canvas.CopyFrom(x, 0, separator_bitmap_, {0, 0, 2, 21});
        canvas.TextOut(x + 12, 3, name);
        bar_cursor_x += static_cast<uint32_t>(name_width(name) + kNameMargin);
    }
    canvas.CopyFrom(static_cast<int>(bar_cursor_x), 0, separator_bitmap_, {0, 0, 2, 21});
    system_.Draw(canvas, wb - kButtonsFromRight, 0, 0);

    view_.controls.menu.Canvas().Draw(0, 0, section_bar_canvas_);
    view_.controls.menu.Repaint();
}

void SectionBar::draw_buttons(int cell) {
    system_.Draw(view_.controls.menu.Canvas(), bar_width() - kButtonsFromRight, 0, cell);
    view_.controls.menu.Repaint();
}

void SectionBar::unlight_buttons() {
    if (!minimise_hover_ && !close_hover_)
        return;
    draw_buttons(0);
    minimise_hover_ = false;
    close_hover_ = false;
    view_.state.entry_armed = false;
}

uint32_t SectionBar::span_width(int section) const {
    return static_cast<uint32_t>(name_width(view_.catalogue.section_name(section)) + kNameMargin);
}

void SectionBar::place_highlight(int section, uint32_t span_left, uint32_t span) {
    hover_span_left_ = static_cast<uint16_t>(span_left);
    hover_span_right_ = static_cast<uint16_t>(span_left + span);
    hover_section_ = static_cast<int16_t>(section);
    view_.controls.menuzaznak.SetLeft(188 + static_cast<int>(span_left) + 1);
    view_.controls.menuzaznak.SetWidth(static_cast<int>(span) + 1);
}

uint32_t SectionBar::span_left(int section) const {
    uint32_t left = kFirstSeparator;
    for (int i = 0; i < section; ++i)
        left += span_width(i);
    return left;
}

void SectionBar::highlight_section(int section) {
    place_highlight(section, span_left(section), span_width(section));
    view_.controls.menuzaznak.Show();
}

Rect SectionBar::section_bounds(int section) const {
    const Shape& highlight = view_.controls.menuzaznak;
    return Rect::sized(188 + static_cast<int>(span_left(section)) + 1, highlight.Top(),
                       static_cast<int>(span_width(section)) + 1, highlight.Height());
}

void SectionBar::hide_highlight() {
    view_.controls.menuzaznak.Hide();
    // The pointer finds its section again from scratch when it comes back.
    hover_span_left_ = 0;
    hover_span_right_ = 0;
}

void SectionBar::menuMouseMove(int x, int y) {
    MenuControls& controls = view_.controls;
    minimise_hover_ = false;
    close_hover_ = false;
    controls.listazaznak.Hide();
    const int wb = bar_width();

    if (inside_open(x, kFirstSeparator, wb - kButtonsFromRight)) {
        if (y > 20) {
            controls.menuzaznak.Hide();
            return;
        }
        bool found = hover_span_left_ <= x && x <= hover_span_right_;
        if (!found) {
            // Measured from where the names stand once the intro is over, also while it plays.
            uint32_t bar_cursor_x = kFirstSeparator;
            const Catalogue& catalogue = view_.catalogue;
            for (int i = 0; i < catalogue.section_count() && !found; ++i) {
                const uint32_t span = span_width(i);
                const auto ux = static_cast<uint32_t>(x);
                if (bar_cursor_x < ux && ux < bar_cursor_x + span) {
                    place_highlight(i, bar_cursor_x, span);
                    found = true;
                } else {
                    bar_cursor_x += span;
                }
            }
        }
        if (found && !controls.menuzaznak.Visible())
            controls.menuzaznak.Show();
        return;
    }

    controls.menuzaznak.Hide();
    if (inside_open(x, wb - 98, wb - 68) && inside_open(y, 2, 15)) {
        minimise_hover_ = true;
        draw_buttons(1);
    } else if (inside_open(x, wb - 62, wb - 36) && inside_open(y, 2, 15)) {
        close_hover_ = true;
        draw_buttons(2);
    } else {
        draw_buttons(0);
    }
}

void SectionBar::select_section(int section) {
    MenuState& state = view_.state;
    MenuControls& controls = view_.controls;
    state.selected_section_name = view_.catalogue.section_name(section);
    state.selected_section = static_cast<uint16_t>(section);

    state.shown_entry = MenuState::kNoEntryShown;
    // The keyboard reaches the new list with nothing highlighted.
    if (state.keyboard_area == KeyboardArea::EntryList)
        state.keyboard_item = MenuState::kNoKeyboardItem;
    EntryList& list = screen_.entry_list;
    list.stop_row_hover();
    state.panel_shown = false;
    view_.description.picture_loaded = false;
    controls.screenzaznak.Hide();
    controls.przewin_gora.Hide();
    controls.przewin_dol.Hide();

    Transitions& transitions = screen_.transitions;
    if (state.animations) {
        if (state.list_shown) {
            screen_.detail_panel.clear_panel();
            transitions.arm_zniklista();
        } else {
            list.render_from_top();
            state.list_shown = true;
            transitions.arm_startlista();
        }
        return;
    }
    screen_.detail_panel.clear_panel();
    list.render_from_top();
    state.list_shown = true;
    transitions.keep_leaving_name(state.selected_section_name);
    list.compose_at_rest();
    list.start_row_hover();
    list.offer_scroll_down();
}

void SectionBar::menuClick() {
    Application& application = view_.services.application;
    if (minimise_hover_)
        application.Minimize();
    if (close_hover_) {
        application.Minimize();
        view_.close_window();
        application.Terminate();
    }
}

} // namespace kelvox
