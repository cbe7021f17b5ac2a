#include "screen/transitions.h"

#include "app/tform1.h"

namespace kelvox {

namespace {

const QString kWelcome = QStringLiteral("Witamy w Kelvox cover menu...");
constexpr int kListHeight = 458;
constexpr int kBannerOut = -189;
constexpr int kBodyOut = kListHeight - 50;

} // namespace

void Transitions::install(void (Transitions::*step)()) {
    form_.timer1.SetOnTimer([this, step](TThreadedTimer*) { (this->*step)(); });
}

void Transitions::remove_step() {
    form_.timer1.SetOnTimer({});
}

void Transitions::arm_startanima() {
    remove_step();
    const int wb = form_.section_bar.bar_width();
    form_.section_bar.bar_left_x = wb - 198;
    form_.section_bar.bar_text_x = wb - 150;
    install(&Transitions::startanima);
}

void Transitions::arm_zniklista() {
    remove_step();
    form_.entry_list.banner_x = 0;
    form_.entry_list.body_y = 16;
    install(&Transitions::zniklista);
}

void Transitions::arm_startlista() {
    remove_step();
    form_.entry_list.banner_x = -188;
    form_.entry_list.body_y = kListHeight - 16;
    leaving_section_name = form_.section_bar.selected_section_name;
    install(&Transitions::startlista);
}

void Transitions::startanima() {
    int32_t& left = form_.section_bar.bar_left_x;
    int32_t& text = form_.section_bar.bar_text_x;
    if (left < 0)
        left = 0;
    if (text < 48)
        text = 48;
    if (left == 0 && text == 48) {
        remove_step();
        form_.ticker.restart_ticker(kWelcome);
    }
    form_.section_bar.draw_bar();
    left -= left > 10 ? left / 10 + 1 : 1;
    text -= text > 68 ? text / 30 + 1 : 1;
}

void Transitions::zniklista() {
    EntryList& list = form_.entry_list;
    if (list.banner_x < kBannerOut)
        list.banner_x = kBannerOut;
    if (list.body_y > kBodyOut)
        list.body_y = kBodyOut;
    if (list.banner_x == kBannerOut && list.body_y == kBodyOut) {
        remove_step();
        delay_ticks = 0;
        list.first_visible = 0;
        list.render_list();
        install(&Transitions::opozniacz);
    }
    list.compose_list(list.banner_x, list.body_y, leaving_section_name);
    list.banner_x -= list.banner_x > -30 ? 1 : list.banner_x > -60 ? 3 : 10;
    list.body_y += list.body_y < 40 ? 1 : list.body_y < 100 ? 5 : 35;
}

void Transitions::opozniacz() {
    if (delay_ticks > 10)
        arm_startlista();
    else
        ++delay_ticks;
}

void Transitions::startlista() {
    EntryList& list = form_.entry_list;
    if (list.banner_x > 0)
        list.banner_x = 0;
    if (list.body_y < 16)
        list.body_y = 16;
    if (list.banner_x == 0 && list.body_y == 16) {
        remove_step();
        const int section = form_.section_bar.selected_section;
        if (section < form_.ticker_line_count)
            form_.ticker.restart_ticker(form_.ticker_lines.at(section));
        list.start_row_hover();
        if (list.can_scroll_down)
            list.show_scroll_down();
    }
    list.compose_list(list.banner_x, list.body_y, form_.section_bar.selected_section_name);
    list.banner_x += list.banner_x < -60 ? 10 : list.banner_x < -20 ? 3 : 1;
    list.body_y -= list.body_y > 90 ? 25 : list.body_y > 40 ? 4 : 1;
}

void Transitions::tloMouseMove() {
    if (form_.listazaznak.Visible())
        form_.listazaznak.Hide();
    if (form_.menuzaznak.Visible())
        form_.menuzaznak.Hide();
    SectionBar& bar = form_.section_bar;
    if (bar.minimise_hover || bar.close_hover) {
        bar.draw_buttons(0);
        bar.minimise_hover = false;
        bar.close_hover = false;
        form_.entry_armed = false;
    }
    if (form_.settings_open)
        form_.settings_drawer.collapse_settings();
}

} // namespace kelvox
