#pragma once
// The main window: its life from construction to close, its controls, and the binding of their events
// to the parts. The parts keep their own pictures and fields; what several of them share is in state,
// and they see the window through the view it gives them.
#include "actions/menu_actions.h"
#include "app/keyboard_navigation.h"
#include "app/music.h"
#include "app/settings_drawer.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "platform/bitmap.h"
#include "platform/bitmap_read_ahead.h"
#include "platform/disc_file.h"
#include "platform/form.h"
#include "platform/services.h"
#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"
#include "screen/menu_view.h"
#include "timing/threaded_timer.h"

#include <QString>

#include <optional>

namespace kelvox {

class TForm1 : public Form {
public:
    // Runs the whole start: settings, taskbar, catalogue, ticker lines, font, skin, music, screen.
    // A start that fails raises the platform's error after giving back the taskbar and the font. The
    // start's skin bitmaps are taken from skin_read_ahead where it has them.
    explicit TForm1(Services& services, BitmapReadAhead* skin_read_ahead = nullptr);
    ~TForm1() override;

    Services& services;
    MenuState state;
    MenuControls controls{*this};

    // --- the catalogue, the description of the entry last chosen, and the tokenizer reading both ---
    THTMLParser parser{&services.messages};
    Catalogue catalogue;
    EntryDescription description;
    CatalogueReader reader{catalogue, description};

    Music music;

private:
    MenuView view_;

public:
    // --- the parts ---
    MenuScreen screen{view_};
    MenuActions actions{view_, screen};
    SettingsDrawer settings_drawer{*this};
    KeyboardNavigation keyboard{view_, screen, actions, settings_drawer};

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
    // The music starts when the window's first frame is on the screen: opening it loads the media
    // backend, which takes longer than everything else of a start. A message that it cannot play
    // still comes before the menu can be used.
    void FormFirstFrame();
    // FormClose has run: the window's pictures are released and nothing may draw any more.
    bool Closed() const { return closed_; }
    void FormClose();
    void AppRestore();
    void AppMinimize();
    void musictimerTimer() { music.musictimerTimer(); }
    void parserFoundTag(THTMLParser& Sender, const QString& Tag) { reader.parserFoundTag(Sender, Tag); }
    void parserFoundText(THTMLParser& Sender, const QString& Text) { reader.parserFoundText(Sender, Text); }

private:
    void create_controls();
    void bind_screen_events();
    void start();
    void load_skin();
    void register_font();
    void give_back_font();
    void give_back_desktop();
    QString font_path() const;
    QString painted_wallpaper() const;
    void place_window();
    void place_controls();
    void paint_background(const Bitmap& wallpaper_picture);
    void copy_backgrounds_under_images();

    // The skin read ahead, while the start lasts; later loads read the files afresh.
    BitmapReadAhead* skin_read_ahead_;
    // The background's tiles, from the skin.
    Bitmap pasek_bitmap_;
    Bitmap dol_bitmap_;
    // Holds every file the window reads from the disc inside program_dir while the window lives.
    std::optional<DiscRoot> disc_root_;
    bool font_registered_ = false;
    bool taskbar_hidden_ = false;
    bool grip_strip_drawn_ = false;
    bool closed_ = false;
    // A background picture that could not be loaded at start: the menu runs without it, while the
    // stored setting keeps its name.
    QString unusable_wallpaper_;
};

} // namespace kelvox
