#pragma once
// The detail panel: the 550 × 350 area right of the list describing the entry chosen. The background
// behind it is tinted with the relief of panel.bmp, into which the entry's texts were written, and the
// tint fades in and out in 16 steps on timer1. It shows the entry's pictures one at a time.
#include "platform/bitmap.h"
#include "platform/jpeg_picture.h"
#include "screen/relief_plane.h"

#include <QString>

#include <cstdint>

namespace kelvox {

class SkinSource;
struct MenuView;

class DetailPanel {
public:
    explicit DetailPanel(MenuView& view) : view_(view) {}

    static constexpr uint8_t kFullLevel = 16;

    // The panel's relief from the skin, and the pictures it is drawn in.
    void load_skin(const SkinSource& skin);
    // The background behind the panel, as the screen build leaves it.
    void take_backdrop();
    void release();

    // The entry's picture from a disc file, at its own size; raises the platform's error, the panel's
    // picture unchanged, when it cannot be read.
    void load_picture(const QString& file);
    // No picture (a start).
    void forget_picture();
    // The picture as decoded, for the viewer.
    const QImage& picture() const { return jpeg_picture_.image(); }
    // The panel's relief from the skin.
    const Bitmap& relief() const { return panel_bitmap_; }

    // The panel vanishes at once: the background behind it is copied back onto it.
    void clear_panel();
    // The panel fades to the entry just read, from its first picture: out and in again when it stands
    // and animations are on, else in.
    void fade_to_entry();
    // The entry's picture of that number, in place of the one shown; a picture that cannot be read is
    // told in a message box and the panel stays as it is.
    void show_picture(int index);
    // The picture before and after the one shown, when there is one.
    void show_previous_picture();
    void show_next_picture();
    // The number of the picture whose label lies at x on the panel, or -1 between and beside them.
    int picture_number_at(int x) const;
    // Where the number of the picture of that index stands, in window pixels.
    Rect picture_number_bounds(int index) const;

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
    // The numbers of the pictures on the backdrop.
    void draw_picture_numbers();
    // The backdrop onto the panel image.
    void show_backdrop();

private:
    void write_texts();
    int picture_count() const;
    // The relief with the entry's texts, as the tint reads it.
    void reduce_relief();

    MenuView& view_;
    Bitmap panel_bitmap_;
    Bitmap panel_canvas_;
    ReliefPlane relief_plane_;
    Bitmap panel_backdrop_;
    Bitmap picture_bitmap_;
    JpegPicture jpeg_picture_;
    uint8_t panel_level_ = 0;
    // Where the pictures' numbers start on the panel, and the picture shown.
    uint16_t picture_numbers_x_ = 0;
    uint8_t current_picture_ = 0;
};

} // namespace kelvox
