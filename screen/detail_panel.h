#pragma once
// The detail panel: the 550 × 350 area right of the list describing the entry chosen. The background
// behind it is tinted with the relief of panel.bmp, into which the entry's texts were written, and the
// tint fades in and out in 16 steps on timer1.
#include <cstdint>

namespace kelvox {

class TForm1;

class DetailPanel {
public:
    explicit DetailPanel(TForm1& form) : form_(form) {}

    static constexpr uint8_t kFullLevel = 16;

    uint8_t panel_level = 0;
    uint16_t picture_numbers_x = 0;
    uint8_t current_picture = 0;

    // The panel vanishes at once: the background behind it is copied back onto it.
    void clear_panel();

    // timer1 steps: one frame of the fade-in, one of the fade-out (which hands over to the fade-in).
    void panel_show();
    void panel_hide();
    void install_show();
    void install_hide();

    // The background behind the panel into the panel backdrop.
    void copy_background_to_backdrop();
    // The panel relief over the backdrop at the level, with the window's messages served per row.
    // False when a handler run among the messages put another step on timer1 meanwhile.
    bool blend_backdrop(int level);
    // The picture bitmap stretched into the panel's picture frame on the backdrop.
    void draw_picture();
    // The numbers of the pictures on the backdrop, from picture_numbers_x.
    void draw_picture_numbers();
    // The backdrop onto the panel image.
    void show_backdrop();

private:
    void write_texts();

    TForm1& form_;
};

} // namespace kelvox
