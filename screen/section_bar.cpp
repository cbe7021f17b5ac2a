#include "screen/section_bar.h"

#include "app/tform1.h"
#include "platform/application.h"

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

bool inside_open(int value, int low, int high) {
    return low < value && value < high;
}

} // namespace

int SectionBar::bar_width() const {
    return form_.layout_width - 188;
}

int SectionBar::name_width(const QString& name) const {
    return form_.section_bar_canvas.Canvas().TextWidth(name);
}

void SectionBar::draw_bar() {
    const int wb = bar_width();
    Canvas& canvas = form_.section_bar_canvas.Canvas();
    canvas.CopyFrom(0, 0, form_.tlo.Surface(), Rect::sized(188, 29, wb, kBarHeight));
    canvas.CopyFrom(bar_left_x, 0, form_.menu_l_bitmap, {0, 0, kLeftPieceWidth, kBarHeight});
    for (int x = bar_left_x + kLeftPieceWidth; x < wb - kRightPieceWidth; x += kMiddleTileWidth)
        canvas.CopyFrom(x, 0, form_.menu_s_bitmap, {0, 0, kMiddleTileWidth, kBarHeight});
    canvas.CopyFrom(wb - kRightPieceWidth, 0, form_.menu_r_bitmap, {0, 0, kRightPieceWidth, kBarHeight});

    bar_cursor_x = static_cast<uint32_t>(bar_text_x);
    const Catalogue& catalogue = form_.catalogue;
    for (int i = 0; i < catalogue.section_count(); ++i) {
        const QString name = catalogue.section_name(i);
        const int x = static_cast<int>(bar_cursor_x);
        canvas.CopyFrom(x, 0, form_.separator_bitmap, {0, 0, 2, 21});
        canvas.TextOut(x + 12, 3, name);
        bar_cursor_x += static_cast<uint32_t>(name_width(name) + kNameMargin);
    }
    canvas.CopyFrom(static_cast<int>(bar_cursor_x), 0, form_.separator_bitmap, {0, 0, 2, 21});
    form_.system.Draw(canvas, wb - kButtonsFromRight, 0, 0);

    form_.menu.Canvas().Draw(0, 0, form_.section_bar_canvas);
    form_.menu.Repaint();
}

void SectionBar::draw_buttons(int cell) {
    form_.system.Draw(form_.menu.Canvas(), bar_width() - kButtonsFromRight, 0, cell);
    form_.menu.Repaint();
}

void SectionBar::menuMouseMove(int x, int y) {
    minimise_hover = false;
    close_hover = false;
    form_.listazaznak.Hide();
    const int wb = bar_width();

    if (inside_open(x, kFirstSeparator, wb - kButtonsFromRight)) {
        if (y > 20) {
            form_.menuzaznak.Hide();
            return;
        }
        bool found = hover_span_left <= x && x <= hover_span_right;
        if (!found) {
            // Measured from where the names stand once the intro is over, also while it plays.
            bar_cursor_x = kFirstSeparator;
            const Catalogue& catalogue = form_.catalogue;
            for (int i = 0; i < catalogue.section_count() && !found; ++i) {
                const QString name = catalogue.section_name(i);
                const uint32_t span = static_cast<uint32_t>(name_width(name) + kNameMargin);
                const auto ux = static_cast<uint32_t>(x);
                if (bar_cursor_x < ux && ux < bar_cursor_x + span) {
                    hover_span_left = static_cast<uint16_t>(bar_cursor_x);
                    hover_span_right = static_cast<uint16_t>(bar_cursor_x + span);
                    hover_section_name = name;
                    hover_section = static_cast<int16_t>(i);
                    form_.menuzaznak.SetLeft(188 + static_cast<int>(bar_cursor_x) + 1);
                    form_.menuzaznak.SetWidth(static_cast<int>(span) + 1);
                    found = true;
                } else {
                    bar_cursor_x += span;
                }
            }
        }
        if (found && !form_.menuzaznak.Visible())
            form_.menuzaznak.Show();
        return;
    }

    form_.menuzaznak.Hide();
    if (inside_open(x, wb - 98, wb - 68) && inside_open(y, 2, 15)) {
        minimise_hover = true;
        draw_buttons(1);
    } else if (inside_open(x, wb - 62, wb - 36) && inside_open(y, 2, 15)) {
        close_hover = true;
        draw_buttons(2);
    } else {
        draw_buttons(0);
    }
}

void SectionBar::menuzaznakMouseDown() {
    selected_section_name = hover_section_name;
    selected_section = static_cast<uint16_t>(hover_section);

    form_.shown_entry = TForm1::kNoEntryShown;
    form_.lista.OnMouseMove = nullptr;
    form_.panel_shown = false;
    form_.description.picture_loaded = false;
    form_.screenzaznak.Hide();
    form_.przewin_gora.Hide();
    form_.przewin_dol.Hide();

    EntryList& list = form_.entry_list;
    if (form_.animations) {
        if (form_.list_shown) {
            form_.detail_panel.clear_panel();
            form_.transitions.arm_zniklista();
        } else {
            list.first_visible = 0;
            list.render_list();
            form_.list_shown = true;
            form_.transitions.arm_startlista();
        }
        return;
    }
    list.first_visible = 0;
    form_.detail_panel.clear_panel();
    list.render_list();
    form_.list_shown = true;
    form_.transitions.leaving_section_name = selected_section_name;
    list.compose_at_rest();
    list.start_row_hover();
    if (list.can_scroll_down)
        list.show_scroll_down();
}

void SectionBar::menuClick() {
    Application& application = form_.services.application;
    if (minimise_hover)
        application.Minimize();
    if (close_hover) {
        application.Minimize();
        form_.FormClose();
        application.Terminate();
    }
}

} // namespace kelvox
