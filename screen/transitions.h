#pragma once
// The frame-by-frame animations on timer1: the section bar's intro, the list's slide-out, a pause and
// the slide-in of the new list; and the background's mouse handler that clears every hover state.
// Each step clamps its state, performs the end when reached, draws one frame and then advances.
#include <QString>

#include <cstdint>

namespace kelvox {

class TForm1;

class Transitions {
public:
    explicit Transitions(TForm1& form) : form_(form) {}

    uint8_t delay_ticks = 0;
    QString leaving_section_name;

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

    TForm1& form_;
};

} // namespace kelvox
