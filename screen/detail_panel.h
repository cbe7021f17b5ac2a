#pragma once
// The detail panel: the 550 × 350 area right of the list describing the entry chosen.
#include <cstdint>

namespace kelvox {

class TForm1;

class DetailPanel {
public:
    explicit DetailPanel(TForm1& form) : form_(form) {}

    uint8_t panel_level = 0;
    uint16_t picture_numbers_x = 0;
    uint8_t current_picture = 0;

    // The panel vanishes at once: the background behind it is copied back onto it.
    void clear_panel();

private:
    TForm1& form_;
};

} // namespace kelvox
