#include "app/tform1.h"

#include "actions/unpack_dialog.h"
#include "app/grip_strip.h"
#include "app/music_timer.h"
#include "app/skin_files.h"
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

TForm1::TForm1(Services& services_)
    : services(services_),
      music(services_.player, services_.messages, musictimer_hooks(musictimer, [this] { musictimerTimer(); }),
            program_dir, sound, music_ready) {
    create_controls();
    start();
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

    menuzaznak.pen = {kBlack, 1, PenMode::Xor, PenStyle::Solid};
    menuzaznak.brush = {kWhite, BrushStyle::Solid};
    menuzaznak.Hide();
    listazaznak.pen = {kBlack, 1, PenMode::Not, PenStyle::Clear};
    listazaznak.Hide();
    screenzaznak.pen = {kWhite, 1, PenMode::Copy, PenStyle::Solid};
    screenzaznak.brush = {kWhite, BrushStyle::Clear};
    screenzaznak.Hide();
    przewin_dol.Hide();
    przewin_gora.Hide();
    rar_cancel.Hide();
    chwyt.SetBounds(0, 0, 770, 14);
    draw_grip_strip(chwyt.Surface());
    chwyt.Hide();
    ustawienia.SetBounds(0, 0, 144, 394);

    musictimer.SetOnTimer([this](TThreadedTimer*) { musictimerTimer(); });
    parser.OnFoundTag = [this](THTMLParser& Sender, const QString& Tag) { parserFoundTag(Sender, Tag); };
    parser.OnFoundText = [this](THTMLParser& Sender, const QString& Text) { parserFoundText(Sender, Text); };
    description.OnLoadPicture = [this](const QString& file) { load_first_picture(file); };
    bind_screen_events();
    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormClose(); };
}

void TForm1::bind_screen_events() {
    const auto background_move = [this](ShiftState, int, int) { transitions.tloMouseMove(); };
    OnMouseMove = background_move;
    tlo.OnMouseMove = background_move;
    scroll.OnMouseMove = background_move;
    panelek.OnMouseMove = background_move;

    menu.OnClick = [this] { section_bar.menuClick(); };
    menu.OnMouseMove = [this](ShiftState, int x, int y) { section_bar.menuMouseMove(x, y); };
    menuzaznak.OnMouseDown = [this](MouseButton, ShiftState, int, int) { section_bar.menuzaznakMouseDown(); };

    przewin_dol.OnMouseDown = [this](MouseButton, ShiftState, int, int) {
        entry_list.przewin_dolMouseDown();
    };
    przewin_dol.OnMouseMove = [this](ShiftState, int, int) { entry_list.przewin_dolMouseMove(); };
    przewin_gora.OnMouseDown = [this](MouseButton, ShiftState, int, int) {
        entry_list.przewin_goraMouseDown();
    };
    przewin_gora.OnMouseMove = [this](ShiftState, int, int) { entry_list.przewin_goraMouseMove(); };

    listazaznak.OnMouseDown = [this](MouseButton, ShiftState, int, int) {
        entry_activation.listazaznakMouseDown();
    };
    panelek.OnMouseDown = [this](MouseButton, ShiftState, int x, int y) {
        panel_buttons.panelekMouseDown(x, y);
    };
    rar_cancel.OnClick = [this] { unpack_run.rar_cancelClick(); };
    unpack_run.show_dialog = [this] {
        TForm3 dialog(unpack_run.unpack_confirmed, unpack_run.unpack_dir, services.messages);
        dialog.ShowModal();
    };
    UnRar.SetExtract(true);
    UnRar.SetExceptionOnError(false);

    chwyt.OnMouseDown = [this](MouseButton, ShiftState, int x, int y) { window_drag.chwytMouseDown(x, y); };
    chwyt.OnMouseMove = [this](ShiftState, int x, int y) { window_drag.chwytMouseMove(x, y); };
    chwyt.OnMouseUp = [this](MouseButton, ShiftState, int, int) { window_drag.chwytMouseUp(); };

    ustawienia.OnMouseMove = [this](ShiftState, int, int) { settings_drawer.ustawieniaMouseMove(); };
    ustawienia.OnMouseUp = [this](MouseButton, ShiftState, int x, int y) {
        settings_drawer.ustawieniaMouseUp(x, y);
    };
}

void TForm1::start() {
    services.application.OnRestore = [this] { AppRestore(); };
    services.application.OnMinimize = [this] { AppMinimize(); };

    program_dir = current_directory();
    read_settings(*this, services.registry, services.messages);
    detect_win95(*this, services.registry);
    if (program_dir.endsWith(QLatin1Char('\\')))
        program_dir.chop(1);
    disc_root_.emplace(program_dir.size() < 3 ? program_dir + QLatin1Char('\\') : program_dir);
    if (!show_taskbar) {
        services.taskbar.Hide();
        taskbar_hidden_ = true;
    }
    try {
        ticker.ticker_x = 10;
        ticker.ticker_y = -22;
        ticker.ticker_colour = 0x003300;
        cancel_requested = false;

        description.program_dir = program_dir;
        parser.HTML.clear();
        load_catalogue(parser, catalogue);
        ticker_lines = load_ticker_lines();
        // The full count: kept in eight bits, a file of 256 lines would count as none and no section
        // would ever get its line.
        ticker_line_count = static_cast<int>(ticker_lines.size());

        description.reset();
        picture_bitmap = Bitmap();
        jpeg_picture = JpegPicture();
        register_font();
        load_skin_bitmaps();
        fill_image_lists();
        music.start();
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
        unusable_wallpaper_ = wallpaper;
        build_screen();
    }
}

QString TForm1::font_path() const {
    return program_dir + QStringLiteral("\\menu\\") + QString::fromLatin1(skin_font_file);
}

void TForm1::register_font() {
    font_registered_ = services.fonts.Add(font_path());
    if (!font_registered_)
        services.messages.show(kFontFailed);
}

// What a start that fails, or the close, gives back to the desktop.
void TForm1::give_back_desktop() {
    if (font_registered_) {
        services.fonts.Remove(font_path());
        font_registered_ = false;
    }
    if (taskbar_hidden_) {
        services.taskbar.Show();
        taskbar_hidden_ = false;
    }
}

void TForm1::load_first_picture(const QString& file) {
    jpeg_picture.load_from_file(file);
    picture_bitmap.Assign(jpeg_picture.image());
}

void TForm1::FormShow() {
    timer1.SetEnabled(true);
}

void TForm1::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    timer1.SetEnabled(false);
    scrolltimer.SetEnabled(false);
    musictimer.SetEnabled(false);

    if (font_registered_) {
        services.fonts.Remove(font_path());
        font_registered_ = false;
    }
    catalogue.clear();
    // Released bitmaps are empty ones, so a late handler draws nothing instead of touching freed memory.
    for (Bitmap* bitmap : {&cancel_bitmap, &settings_canvas, &panel_bitmap, &panel_canvas, &panel_backdrop,
                           &ticker_canvas, &pasek_bitmap, &separator_bitmap, &dol_bitmap, &lista_g_bitmap,
                           &lista_tlo_bitmap, &list_canvas, &menu_l_bitmap, &menu_s_bitmap, &menu_r_bitmap,
                           &list_animation_canvas, &list_backdrop, &section_bar_canvas, &picture_bitmap})
        *bitmap = Bitmap();
    jpeg_picture = JpegPicture();
    ticker_lines.clear();
    description.reset();

    services.taskbar.Show();
    taskbar_hidden_ = false;
    music.end();
}

void TForm1::AppRestore() {
    Hide();
    if (!show_taskbar)
        services.taskbar.Hide();
    if (services.screen.Width() != layout_width) {
        build_screen_keeping_on();
        przewin_dol.Hide();
        przewin_gora.Hide();
    }
    Show();
}

void TForm1::AppMinimize() {
    services.taskbar.Show();
}

} // namespace kelvox
