#include "app/tform1.h"

#include "actions/unpack_dialog.h"
#include "app/menu_accessibility.h"
#include "app/music_timer.h"
#include "app/settings_store.h"
#include "app/skin_files.h"
#include "app/wallpaper_error.h"
#include "catalogue/catalogue_loading.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/font_registry.h"
#include "platform/message_boxes.h"
#include "platform/platform_error.h"
#include "platform/screen.h"
#include "platform/taskbar.h"

namespace kelvox {

namespace {
const QString kFontFailed = QStringLiteral("Nie mogłem załadować czcionki");
} // namespace

TForm1::TForm1(Services& services_, BitmapReadAhead* skin_read_ahead)
    : services(services_),
      music(services_.player, services_.messages, musictimer_hooks(musictimer, [this] { musictimerTimer(); }),
            state.program_dir, state.sound, state.music_ready),
      view_{services_,
            state,
            *this,
            controls,
            timer1,
            scrolltimer,
            parser,
            catalogue,
            description,
            [this] { FormClose(); },
            [this] { return closed_; }},
      skin_read_ahead_(skin_read_ahead) {
    create_controls();
    start();
    skin_read_ahead_ = nullptr;
}

TForm1::~TForm1() {
    // Whatever a handler could still reach goes quiet before the members are destroyed.
    timer1.SetOnTimer({});
    scrolltimer.SetOnTimer({});
    musictimer.SetOnTimer({});
}

void TForm1::create_controls() {
    SetCaption(QStringLiteral("Kelvox menu"));
    SetColour(kBlack);
    SetAccessibleName(QString::fromUtf8(kMenuAccessibleName));
    SetAccessibleTree([this] {
        return menu_accessible_tree({state, catalogue, description, controls, settings_drawer, screen});
    });

    MenuControls& c = controls;
    c.menuzaznak.pen = {kBlack, 1, PenMode::Xor, PenStyle::Solid};
    c.menuzaznak.brush = {kWhite, BrushStyle::Solid};
    c.menuzaznak.Hide();
    c.listazaznak.pen = {kBlack, 1, PenMode::Not, PenStyle::Clear};
    c.listazaznak.Hide();
    c.screenzaznak.pen = {kWhite, 1, PenMode::Copy, PenStyle::Solid};
    c.screenzaznak.brush = {kWhite, BrushStyle::Clear};
    c.screenzaznak.Hide();
    c.przewin_dol.Hide();
    c.przewin_gora.Hide();
    c.rar_cancel.Hide();
    c.chwyt.SetBounds(0, 0, 770, 14);
    c.chwyt.Hide();
    c.ustawienia.SetBounds(0, 0, 144, 394);

    musictimer.SetOnTimer([this](TThreadedTimer*) { musictimerTimer(); });
    parser.OnFoundTag = [this](THTMLParser& Sender, const QString& Tag) { parserFoundTag(Sender, Tag); };
    parser.OnFoundText = [this](THTMLParser& Sender, const QString& Text) { parserFoundText(Sender, Text); };
    // The first picture of an entry, as its description is read.
    description.OnLoadPicture = [this](const QString& file) { screen.detail_panel.load_picture(file); };
    bind_screen_events();
    OnKeyDown = [this](int key, ShiftState shift) { keyboard.FormKeyDown(key, shift); };
    OnShow = [this] { FormShow(); };
    OnFirstFrame = [this] { FormFirstFrame(); };
    OnClose = [this] { FormClose(); };
}

void TForm1::bind_screen_events() {
    MenuControls& c = controls;
    SectionBar& section_bar = screen.section_bar;
    EntryList& entry_list = screen.entry_list;
    WindowDrag& window_drag = screen.window_drag;

    const auto background_move = [this](ShiftState, int, int) {
        screen.transitions.tloMouseMove();
        if (state.settings_open)
            settings_drawer.collapse_settings();
    };
    OnMouseMove = background_move;
    c.tlo.OnMouseMove = background_move;
    c.scroll.OnMouseMove = background_move;
    c.panelek.OnMouseMove = background_move;

    c.menu.OnClick = [&section_bar] { section_bar.menuClick(); };
    c.menu.OnMouseMove = [&section_bar](ShiftState, int x, int y) { section_bar.menuMouseMove(x, y); };
    c.menuzaznak.OnMouseDown = [&section_bar](MouseButton, ShiftState, int, int) {
        section_bar.menuzaznakMouseDown();
    };

    c.przewin_dol.OnMouseDown = [&entry_list](MouseButton, ShiftState, int, int) {
        entry_list.przewin_dolMouseDown();
    };
    c.przewin_dol.OnMouseMove = [&entry_list](ShiftState, int, int) { entry_list.przewin_dolMouseMove(); };
    c.przewin_gora.OnMouseDown = [&entry_list](MouseButton, ShiftState, int, int) {
        entry_list.przewin_goraMouseDown();
    };
    c.przewin_gora.OnMouseMove = [&entry_list](ShiftState, int, int) { entry_list.przewin_goraMouseMove(); };

    c.listazaznak.OnMouseDown = [this](MouseButton, ShiftState, int, int) {
        actions.entry_activation.listazaznakMouseDown();
    };
    // The wheel scrolls the list wherever over it the pointer stands, its highlight and buttons included.
    for (Control* over_list :
         std::initializer_list<Control*>{&c.lista, &c.listazaznak, &c.przewin_dol, &c.przewin_gora})
        over_list->OnMouseWheel = [&entry_list](ShiftState, int notches, int, int) {
            entry_list.scroll_by_wheel(notches);
        };
    c.panelek.OnMouseDown = [this](MouseButton, ShiftState, int x, int y) {
        actions.panel_buttons.panelekMouseDown(x, y);
    };
    UnpackRun& unpack_run = actions.unpack_run;
    c.rar_cancel.OnClick = [&unpack_run] { unpack_run.rar_cancelClick(); };
    unpack_run.bind_dialog([this](bool& confirmed, QString& directory) {
        TForm3 dialog(confirmed, directory, services.messages);
        dialog.ShowModal();
    });

    c.chwyt.OnMouseDown = [&window_drag](MouseButton, ShiftState, int x, int y) {
        window_drag.chwytMouseDown(x, y);
    };
    c.chwyt.OnMouseMove = [&window_drag](ShiftState, int x, int y) { window_drag.chwytMouseMove(x, y); };
    c.chwyt.OnMouseUp = [&window_drag](MouseButton, ShiftState, int, int) { window_drag.chwytMouseUp(); };

    c.ustawienia.OnMouseMove = [this](ShiftState, int, int) { settings_drawer.ustawieniaMouseMove(); };
    c.ustawienia.OnMouseUp = [this](MouseButton, ShiftState, int x, int y) {
        settings_drawer.ustawieniaMouseUp(x, y);
    };
}

void TForm1::start() {
    services.application.OnRestore = [this] { AppRestore(); };
    services.application.OnMinimize = [this] { AppMinimize(); };

    QString& program_dir = state.program_dir;
    program_dir = current_directory();
    read_settings(state, services.registry, services.messages);
    detect_win95(state, services.registry);
    if (program_dir.endsWith(QLatin1Char('\\')))
        program_dir.chop(1);
    // A drive root is only a directory with its backslash ("D:" alone names the drive's current one).
    disc_root_.emplace(program_dir.size() < 3 ? program_dir + QLatin1Char('\\') : program_dir);
    if (!state.show_taskbar) {
        services.taskbar.hide();
        taskbar_hidden_ = true;
    }
    try {
        description.program_dir = program_dir;
        parser.HTML.clear();
        load_catalogue(parser, catalogue, program_dir);
        screen.ticker.set_lines(load_ticker_lines(program_dir));

        description.reset();
        screen.detail_panel.forget_picture();
        register_font();
        load_skin();
        build_screen_keeping_on();
    } catch (...) {
        give_back_desktop();
        throw;
    }
}

// A saved setting must not keep the disc from ever starting, nor a picture that has gone since the
// start leave the window hidden at a restore: this run goes on without the picture, and the setting
// keeps its value.
void TForm1::build_screen_keeping_on() {
    try {
        build_screen();
    } catch (const WallpaperError& error) {
        services.messages.show(error.message());
        unusable_wallpaper_ = state.wallpaper;
        build_screen();
    }
}

QString TForm1::font_path() const {
    return state.program_dir + QStringLiteral("\\menu\\") + QString::fromLatin1(skin_font_file);
}

void TForm1::register_font() {
    font_registered_ = services.fonts.add(font_path());
    if (!font_registered_)
        services.messages.show(kFontFailed);
}

void TForm1::give_back_font() {
    if (font_registered_) {
        services.fonts.remove(font_path());
        font_registered_ = false;
    }
}

// What a start that fails gives back to the desktop.
void TForm1::give_back_desktop() {
    give_back_font();
    if (taskbar_hidden_) {
        services.taskbar.show();
        taskbar_hidden_ = false;
    }
}

void TForm1::FormShow() {
    timer1.SetEnabled(true);
}

void TForm1::FormFirstFrame() {
    if (!closed_)
        music.start();
}

void TForm1::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    timer1.SetEnabled(false);
    scrolltimer.SetEnabled(false);
    musictimer.SetEnabled(false);

    give_back_font();
    catalogue.clear();
    // Released bitmaps are empty ones, so a late handler draws nothing instead of touching freed memory.
    screen.release();
    actions.unpack_run.release();
    settings_drawer.release();
    pasek_bitmap_ = Bitmap();
    dol_bitmap_ = Bitmap();
    description.reset();

    // Shown whatever hid it: the start, or the settings drawer's row.
    services.taskbar.show();
    taskbar_hidden_ = false;
    music.end();
}

void TForm1::AppRestore() {
    Hide();
    if (!state.show_taskbar)
        services.taskbar.hide();
    if (services.screen.width() != state.layout_width) {
        build_screen_keeping_on();
        controls.przewin_dol.Hide();
        controls.przewin_gora.Hide();
    }
    Show();
}

void TForm1::AppMinimize() {
    services.taskbar.show();
}

} // namespace kelvox
