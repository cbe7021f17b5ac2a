#include "tools/make_demo_disc/skin.h"

#include "tools/make_demo_disc/image_files.h"

namespace kelvox::demo {

void write_skin_bitmaps(const QString& menu_dir) {
    const auto put = [&menu_dir](const char* name, const QImage& image) {
        save_bitmap(image, menu_dir + QLatin1Char('/') + QLatin1String(name));
    };
    put("pasek.bmp", make_pasek());
    put("dol.bmp", make_dol());
    put("separator.bmp", make_separator());
    put("menu_l.bmp", make_menu_left());
    put("menu_s.bmp", make_menu_middle());
    put("menu_r.bmp", make_menu_right());
    put("winmenu.bmp", make_window_buttons(WindowButtonsLit::none));
    put("winmenu_1.bmp", make_window_buttons(WindowButtonsLit::minimise));
    put("winmenu_2.bmp", make_window_buttons(WindowButtonsLit::close));
    put("lista_ban.bmp", make_list_banner());
    put("lista_g.bmp", make_list_body());
    put("lista_d.bmp", make_list_bottom());
    put("lista_tlo.bmp", make_list_row());
    put("scroll01.bmp", make_scroll_arrow(false, false));
    put("scroll02.bmp", make_scroll_arrow(true, false));
    put("scroll1.bmp", make_scroll_arrow(false, true));
    put("scroll2.bmp", make_scroll_arrow(true, true));
    put("cancel.bmp", make_cancel_button());
    put("panel.bmp", make_panel_relief());
    const QImage aurora = make_wallpaper_aurora();
    const QImage circuit = make_wallpaper_circuit();
    put("tapeta.bmp", aurora);
    put("tapeta#2.bmp", circuit);
    put("ustawienia.bmp", make_settings_picture(aurora, circuit));
}

} // namespace kelvox::demo
