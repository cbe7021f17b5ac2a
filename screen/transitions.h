#pragma once
// The frame-by-frame animations on timer1: the section bar's intro, the list's slide-out, a pause and
// the slide-in of the new list; and the background's mouse handler that clears every hover state.
// Each step clamps its state, performs the end when reached, draws one frame and then advances.
#include <QString>

#include <cstdint>

namespace kelvox {

class MenuScreen;
struct MenuView;

class Transitions {
public:
    Transitions(MenuView& view, MenuScreen& screen) : view_(view), screen_(screen) {}

    // The name the banner shows when the list on screen slides out next.
    void keep_leaving_name(const QString& name) { leaving_section_name_ = name; }

    void arm_startanima();
    void arm_zniklista();
    void arm_startlista();

    void startanima();
    void zniklista();
    void opozniacz();
    void startlista();

    void tloMouseMove();

private:
    // Installing a step replaces whatever step ran: that animation stops where it stands.
    void install(void (Transitions::*step)());
    void remove_step();

    MenuView& view_;
    MenuScreen& screen_;
    // Where the intro's bar stands: its left piece and its first name's separator.
    int32_t bar_left_x_ = 0;
    int32_t bar_text_x_ = 0;
    // Where the sliding list stands: its banner's left and its body's top.
    int32_t banner_x_ = 0;
    int32_t body_y_ = 16;
    QString leaving_section_name_;
};

} // namespace kelvox
