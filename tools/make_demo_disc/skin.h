#pragma once
// The skin pictures of the demo disc, one function per file of "menu\", and the writer of them all.
#include <QImage>
#include <QString>

namespace kelvox::demo {

// Section bar: the band behind it, its bottom band, its three pieces, the separator and the window
// buttons (plain, minimise lit, close lit; grey 0x8D8D8D is left out).
QImage make_pasek();
QImage make_dol();
QImage make_menu_left();
QImage make_menu_middle();
QImage make_menu_right();
QImage make_separator();
enum class WindowButtonsLit { none, minimise, close };
QImage make_window_buttons(WindowButtonsLit lit);

// Entry list: banner, body frame, bottom edge (all white-keyed), row background and scroll arrows.
QImage make_list_banner();
QImage make_list_body();
QImage make_list_bottom();
QImage make_list_row();
QImage make_scroll_arrow(bool down, bool lit);

// The cancel button of the unpack strip.
QImage make_cancel_button();

// The two background pictures, 800 x 600.
QImage make_wallpaper_aurora();
QImage make_wallpaper_circuit();

// The settings drawer (black-keyed), with small previews of the two background pictures.
QImage make_settings_picture(const QImage& wallpaper1, const QImage& wallpaper2);

// The detail panel's relief: grey 128 leaves the background alone.
QImage make_panel_relief();

// Writes every skin bitmap into the directory.
void write_skin_bitmaps(const QString& menu_dir);

} // namespace kelvox::demo
