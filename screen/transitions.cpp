#include "screen/transitions.h"

#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "timing/threaded_timer.h"

namespace kelvox {

namespace {

const QString kWelcome = QStringLiteral("Witamy w Kelvox cover menu...");
constexpr int kListHeight = 458;
constexpr int kBannerOut = -189;
constexpr int kBodyOut = kListHeight - 50;

} // namespace

void Transitions::install(void (Transitions::*step)()) {
    view_.timer1.SetOnTimer([this, step](TThreadedTimer*) { (this->*step)(); });
}

void Transitions::remove_step() {
    view_.timer1.SetOnTimer({});
}

void Transitions::arm_startanima() {
    remove_step();
    const int wb = screen_.section_bar.bar_width();
    bar_left_x_ = wb - 198;
    bar_text_x_ = wb - 150;
    install(&Transitions::startanima);
}

void Transitions::arm_zniklista() {
    remove_step();
    banner_x_ = 0;
    body_y_ = 16;
    install(&Transitions::zniklista);
}

void Transitions::arm_startlista() {
    remove_step();
    banner_x_ = -188;
    body_y_ = kListHeight - 16;
    leaving_section_name_ = view_.state.selected_section_name;
    install(&Transitions::startlista);
}

void Transitions::startanima() {
    if (bar_left_x_ < 0)
        bar_left_x_ = 0;
    if (bar_text_x_ < 48)
        bar_text_x_ = 48;
    if (bar_left_x_ == 0 && bar_text_x_ == 48) {
        remove_step();
        screen_.ticker.restart_ticker(kWelcome);
    }
    screen_.section_bar.draw_bar(bar_left_x_, bar_text_x_);
    bar_left_x_ -= bar_left_x_ > 10 ? bar_left_x_ / 10 + 1 : 1;
    bar_text_x_ -= bar_text_x_ > 68 ? bar_text_x_ / 30 + 1 : 1;
}

void Transitions::zniklista() {
    EntryList& list = screen_.entry_list;
    if (banner_x_ < kBannerOut)
        banner_x_ = kBannerOut;
    if (body_y_ > kBodyOut)
        body_y_ = kBodyOut;
    if (banner_x_ == kBannerOut && body_y_ == kBodyOut) {
        remove_step();
        view_.state.delay_ticks = 0;
        list.render_from_top();
        install(&Transitions::opozniacz);
    }
    list.compose_list(banner_x_, body_y_, leaving_section_name_);
    banner_x_ -= banner_x_ > -30 ? 1 : banner_x_ > -60 ? 3 : 10;
    body_y_ += body_y_ < 40 ? 1 : body_y_ < 100 ? 5 : 35;
}

void Transitions::opozniacz() {
    uint8_t& delay_ticks = view_.state.delay_ticks;
    if (delay_ticks > 10)
        arm_startlista();
    else
        ++delay_ticks;
}

void Transitions::startlista() {
    EntryList& list = screen_.entry_list;
    const MenuState& state = view_.state;
    if (banner_x_ > 0)
        banner_x_ = 0;
    if (body_y_ < 16)
        body_y_ = 16;
    if (banner_x_ == 0 && body_y_ == 16) {
        remove_step();
        screen_.ticker.show_section_line(state.selected_section);
        list.start_row_hover();
        list.offer_scroll_down();
    }
    list.compose_list(banner_x_, body_y_, state.selected_section_name);
    banner_x_ += banner_x_ < -60 ? 10 : banner_x_ < -20 ? 3 : 1;
    body_y_ -= body_y_ > 90 ? 25 : body_y_ > 40 ? 4 : 1;
}

// The settings drawer, which the window keeps, closes on the same moves: the window binds that.
void Transitions::tloMouseMove() {
    MenuControls& controls = view_.controls;
    if (controls.listazaznak.Visible())
        controls.listazaznak.Hide();
    if (controls.menuzaznak.Visible())
        controls.menuzaznak.Hide();
    screen_.section_bar.unlight_buttons();
}

} // namespace kelvox
