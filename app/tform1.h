#pragma once
// The main window: the state the whole window shares (program directory, settings, layout values,
// controls, off-screen bitmaps, timers, tokenizer) and the window's own life from construction to
// close. Each part of the screen keeps its own fields in its own object and reaches the others
// through this window.
#include "actions/entry_activation.h"
#include "actions/panel_buttons.h"
#include "actions/un_rar.h"
#include "actions/unpack_run.h"
#include "app/music.h"
#include "app/services.h"
#include "app/settings_drawer.h"
#include "app/settings_store.h"
#include "app/wallpaper_error.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "platform/bitmap.h"
#include "platform/controls.h"
#include "platform/disc_file.h"
#include "platform/form.h"
#include "platform/image_list.h"
#include "platform/jpeg_picture.h"
#include "screen/detail_panel.h"
#include "screen/entry_list.h"
#include "screen/section_bar.h"
#include "screen/ticker.h"
#include "screen/transitions.h"
#include "screen/window_drag.h"
#include "timing/threaded_timer.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kelvox {

class TForm1 : public Form, public MenuSettings {
public:
    // Runs the whole start: settings, taskbar, catalogue, ticker lines, font, skin, music, screen.
    // A start that fails raises the platform's error after giving back the taskbar and the font.
    explicit TForm1(Services& services);
    ~TForm1() override;

    Services& services;

    // --- window state ---
    QString program_dir;
    bool music_ready = false;
    uint16_t layout_width = 0;
    uint16_t layout_height = 0;
    uint16_t content_top = 0;
    bool settings_open = false;

    // --- controls, in stacking order from bottom to top ---
    Image tlo{*this};
    Image menu{*this};
    Image lista{*this};
    Image scroll{*this};
    Shape menuzaznak{*this};
    Image panelek{*this};
    Shape listazaznak{*this};
    Shape screenzaznak{*this};
    Image przewin_dol{*this};
    Image przewin_gora{*this};
    PaintBox rar_cancel{*this};
    Image chwyt{*this};
    Image ustawienia{*this};

    // --- skin cells ---
    ImageList ImageList1;
    ImageList ImageList2;
    ImageList ImageList3;
    ImageList system;
    ImageList scrolllista;
    ImageList ustawiacz;

    // --- off-screen bitmaps, in creation order ---
    Bitmap picture_bitmap;
    JpegPicture jpeg_picture;
    Bitmap cancel_bitmap;
    Bitmap settings_canvas;
    Bitmap panel_bitmap;
    Bitmap panel_canvas;
    Bitmap panel_backdrop;
    Bitmap ticker_canvas;
    Bitmap pasek_bitmap;
    Bitmap separator_bitmap;
    Bitmap dol_bitmap;
    Bitmap lista_g_bitmap;
    Bitmap lista_tlo_bitmap;
    Bitmap list_canvas;
    Bitmap menu_l_bitmap;
    Bitmap menu_s_bitmap;
    Bitmap menu_r_bitmap;
    Bitmap list_animation_canvas;
    Bitmap list_backdrop;
    Bitmap section_bar_canvas;

    // --- the catalogue, the description of the entry last chosen, and the tokenizer reading both ---
    THTMLParser parser{&services.messages};
    Catalogue catalogue;
    EntryDescription description;
    CatalogueReader reader{catalogue, description};

    // --- state of other parts that the start and the screen build set ---
    QStringList ticker_lines;
    int ticker_line_count = 0;
    bool cancel_requested = false;
    // Index of the entry whose description the detail panel shows. "None" is a value no entry can
    // have, so that every entry of a long section can be shown.
    static constexpr int kNoEntryShown = -1;
    int shown_entry = kNoEntryShown;
    // A further press on the shown entry's row starts it; pointer moves away from the row disarm it.
    bool entry_armed = false;
    bool list_shown = false;
    bool panel_shown = false;

    Music music;

    // --- the parts of the screen ---
    SectionBar section_bar{*this};
    EntryList entry_list{*this};
    DetailPanel detail_panel{*this};
    Transitions transitions{*this};
    Ticker ticker{*this};
    WindowDrag window_drag{*this};
    SettingsDrawer settings_drawer{*this};
    EntryActivation entry_activation{*this};
    PanelButtons panel_buttons{*this};
    UnpackRun unpack_run{*this};

    // The archive extractor: extracting, reporting through its status rather than by raising.
    TUnRar UnRar{services.file_dialogs};

    // --- timers: declared after everything their handlers use, so they go first ---
    TThreadedTimer timer1{false, 10, tpTimeCritical};
    TThreadedTimer scrolltimer{true, 15, tpHigher};
    TThreadedTimer musictimer{false, 1000, tpNormal};

    // Sizes and places the window and every control for the current mode, paints the static
    // background once and gives each image a copy of the background under it. Raises the platform's
    // error, before anything on screen has changed, when the background picture cannot be loaded.
    void build_screen();
    // build_screen, and when the background picture cannot be loaded: the platform's error shown,
    // and the screen built without it.
    void build_screen_keeping_on();

    void FormShow();
    // FormClose has run: the window's pictures are released and nothing may draw any more.
    bool Closed() const { return closed_; }
    void FormClose();
    void AppRestore();
    void AppMinimize();
    void musictimerTimer() { music.musictimerTimer(); }
    void parserFoundTag(THTMLParser& Sender, const QString& Tag) { reader.parserFoundTag(Sender, Tag); }
    void parserFoundText(THTMLParser& Sender, const QString& Text) { reader.parserFoundText(Sender, Text); }
    // The first picture of an entry, as its description is read: into the JPEG picture, then drawn into
    // the picture bitmap at its own size.
    void load_first_picture(const QString& file);

private:
    void create_controls();
    void bind_screen_events();
    void start();
    void load_skin_bitmaps();
    void fill_image_lists();
    void register_font();
    void give_back_desktop();
    QString font_path() const;
    QString painted_wallpaper() const;
    void place_window();
    void place_controls();
    void paint_background(const Bitmap& wallpaper_picture);
    void copy_backgrounds_under_images();

    // Holds every file the window reads from the disc inside program_dir while the window lives.
    std::optional<DiscRoot> disc_root_;
    bool font_registered_ = false;
    bool taskbar_hidden_ = false;
    bool closed_ = false;
    // A background picture that could not be loaded at start: the menu runs without it, while the
    // stored setting keeps its name.
    QString unusable_wallpaper_;
};

} // namespace kelvox
