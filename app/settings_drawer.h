#pragma once
// The settings drawer at the window's right edge: a 22-pixel tab that slides open to 144 pixels when
// the pointer moves over it, shows a tick beside every option that is on, and acts on a click on one
// of its rows. Changes live in the window's fields until the save row writes all five to the registry.
#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/image_list.h"

#include <QString>
#include <QStringList>

namespace kelvox {

class Canvas;
class SkinSource;
class TForm1;

class SettingsDrawer {
public:
    explicit SettingsDrawer(TForm1& form) : form_(form) {}

    static constexpr int kOpenWidth = 144;
    static constexpr int kTabWidth = 22;
    static constexpr int kHeight = 394;

    // The drawer's picture from the skin, and the canvas it is composed on.
    void load_skin(const SkinSource& skin);
    // The closed drawer over the background the screen build painted.
    void paint_tab();
    void release();
    // The drawer's picture as last composed.
    const Bitmap& canvas() const { return settings_canvas_; }

    // Opens the drawer; moves over the open drawer change nothing.
    void ustawieniaMouseMove();
    // Acts on the row under the pointer (coordinates in the drawer's own pixels), whichever button.
    void ustawieniaMouseUp(int x, int y);
    // Back to the tab: the background moves of the window call this while the drawer is open.
    void collapse_settings();
    // Rebuilds the screen for the current settings with the application minimised meanwhile.
    void relayout();

    // The drawer's rows from top to bottom: seven options, then the save row.
    static int row_count();
    // The row's caption, as the drawer's picture shows it.
    static QString row_caption(int row);
    // An option shows a tick when it is on; the save row is not an option.
    static bool row_is_option(int row);
    bool row_ticked(int row) const;
    // The lines and columns a click on the row counts on, in the drawer's pixels.
    static Rect row_area(int row);
    // What a click on the row does.
    void act_on_row(int row);
    // The keyboard's row, shown with an inverted frame around its tick area while the drawer is
    // open; kNoKeyRow takes the frame away. The pointer moving over the drawer takes it away too.
    static constexpr int kNoKeyRow = -1;
    void show_key_row(int row);
    int key_row() const { return key_row_; }

    // The tick beside an option, its top at mark line m of the settings canvas.
    void draw_tick(int mark_line);

private:
    struct Row;
    static const Row kRows[];

    void toggle_full_screen();
    void toggle_animations();
    void toggle_taskbar();
    void choose_no_wallpaper();
    void choose_wallpaper_1();
    void choose_wallpaper_2();
    void toggle_sound();
    void save();

    void choose_wallpaper(const QString& name);
    // Rebuilds with the first of the pictures that loads, the application minimised meanwhile; the
    // text of the first picture that failed is shown once the window is back.
    void relayout_with_first_loadable(const QStringList& pictures);
    void erase_tick(const Rect& area);
    Canvas& take_background(int shown_width);
    void show_at_width(int shown_width);
    void draw_ticks_of_options_on();
    void refresh();
    void put_picture_on_drawer();
    static Rect key_frame(int row);

    TForm1& form_;
    Bitmap settings_canvas_;
    ImageList ustawiacz_;
    int key_row_ = kNoKeyRow;
};

} // namespace kelvox
