#include "app/settings_drawer.h"

#include "app/settings_store.h"
#include "app/skin_files.h"
#include "app/tform1.h"
#include "app/wallpaper_error.h"
#include "platform/application.h"
#include "platform/message_boxes.h"
#include "platform/taskbar.h"
#include "screen/skin_source.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace kelvox {

namespace {

const QString kNotOnWindows95 = QString::fromUtf8("W systemie Windows 95 opcja niedostępna");
const QString kFullScreenAtNextStart =
    QString::fromUtf8("Zapisz ustawienia - zmiany będą widoczne po ponownym uruchomieniu programu");
const QString kSaveQuestion = QString::fromUtf8(
    "Dane zostaną zapisane do Rejestru systemowego. Jeżeli pracujesz w systemach z rodziny Windows "
    "NT/2K/XP musisz mieć uprawnienia administratora.");
const QString kSaveCaption = QStringLiteral("Kelvox Cover CD");

const QString kNoWallpaper = QString::fromLatin1(wallpaper_none);
const QString kWallpaper1 = QString::fromLatin1(skin_wallpapers[0]);
const QString kWallpaper2 = QString::fromLatin1(skin_wallpapers[1]);

// Mark lines of the ticks, from the drawer's picture.
constexpr int kFullScreenMark = 21;
constexpr int kAnimationsMark = 37;
constexpr int kTaskbarMark = 53;
constexpr int kNoWallpaperMark = 70;
constexpr int kWallpaper1Mark = 157;
constexpr int kWallpaper2Mark = 247;
constexpr int kSoundMark = 277;

// What an option switched off leaves of its tick. The sound row's reaches one line further down.
constexpr Rect kAnimationsTickArea{127, 37, 132, 42};
constexpr Rect kTaskbarTickArea{127, 53, 132, 58};
constexpr Rect kSoundTickArea{127, 277, 132, 283};

constexpr Colour kSettingsBrush = 0xB4FDB8;
constexpr int kPanelHeight = 350;
// The detail panel's top below the drawer's.
constexpr int kPanelLineInDrawer = 16;
constexpr int kDrawerLineInBackground = 70;

} // namespace

// A row counts for a click when both coordinates lie in its ranges, ends included. Its caption is the
// text the drawer's picture shows beside it; an option's tick is drawn from its mark line.
struct SettingsDrawer::Row {
    int top;
    int bottom;
    int left;
    int right;
    void (SettingsDrawer::*act)();
    const char* caption; // UTF-8
    int mark_line;       // kNoMark for the save row

    static constexpr int kNoMark = -1;
    bool contains(int x, int y) const { return y >= top && y <= bottom && x >= left && x <= right; }
};

const SettingsDrawer::Row SettingsDrawer::kRows[] = {
    {20, 27, 33, 132, &SettingsDrawer::toggle_full_screen, "Pełny ekran", kFullScreenMark},
    {36, 41, 53, 132, &SettingsDrawer::toggle_animations, "Animacje", kAnimationsMark},
    {52, 58, 29, 132, &SettingsDrawer::toggle_taskbar, "Pasek zadań", kTaskbarMark},
    {70, 74, 40, 132, &SettingsDrawer::choose_no_wallpaper, "Brak tapety", kNoWallpaperMark},
    {156, 162, 47, 132, &SettingsDrawer::choose_wallpaper_1, "Tapeta 1", kWallpaper1Mark},
    {246, 252, 47, 132, &SettingsDrawer::choose_wallpaper_2, "Tapeta 2", kWallpaper2Mark},
    {276, 282, 70, 132, &SettingsDrawer::toggle_sound, "Dźwięk", kSoundMark},
    // The save row reaches to the drawer's right edge and beyond.
    {361, 377, 13, INT_MAX, &SettingsDrawer::save, "Zapisz ustawienia", Row::kNoMark},
};

int SettingsDrawer::row_count() {
    return static_cast<int>(std::size(kRows));
}

QString SettingsDrawer::row_caption(int row) {
    return QString::fromUtf8(kRows[row].caption);
}

bool SettingsDrawer::row_is_option(int row) {
    return kRows[row].mark_line != Row::kNoMark;
}

Rect SettingsDrawer::row_area(int row) {
    const Row& shown = kRows[row];
    return {shown.left, shown.top, std::min(shown.right, kOpenWidth - 1) + 1, shown.bottom + 1};
}

bool SettingsDrawer::row_ticked(int row) const {
    const MenuState& state = form_.state;
    switch (kRows[row].mark_line) {
    case kFullScreenMark:
        return state.full_screen;
    case kAnimationsMark:
        return state.animations;
    case kTaskbarMark:
        return state.show_taskbar;
    case kNoWallpaperMark:
        return state.wallpaper == kNoWallpaper;
    case kWallpaper1Mark:
        return state.wallpaper == kWallpaper1;
    case kWallpaper2Mark:
        return state.wallpaper == kWallpaper2;
    case kSoundMark:
        return state.sound;
    default:
        return false;
    }
}

void SettingsDrawer::act_on_row(int row) {
    const Row& chosen = kRows[row];
    (this->*chosen.act)();
}

void SettingsDrawer::load_skin(const SkinSource& skin) {
    settings_canvas_.SetSize(kOpenWidth, kHeight);
    settings_canvas_.Canvas().pen.colour = kBlack;
    settings_canvas_.Canvas().brush = {kSettingsBrush, BrushStyle::Solid};
    skin.fill(ustawiacz_, 142, kHeight, kBlack, {"ustawienia.bmp"});
}

void SettingsDrawer::paint_tab() {
    key_row_ = kNoKeyRow;
    settings_canvas_.Canvas().CopyFrom(
        0, 0, form_.controls.tlo.Surface(),
        Rect::sized(form_.state.layout_width - kTabWidth, kDrawerLineInBackground, kTabWidth, kHeight));
    ustawiacz_.Draw(settings_canvas_.Canvas(), 0, 0, 0);
    form_.controls.ustawienia.Canvas().Draw(0, 0, settings_canvas_);
}

void SettingsDrawer::release() {
    settings_canvas_ = Bitmap();
}

void SettingsDrawer::ustawieniaMouseMove() {
    if (form_.state.settings_open) {
        // The pointer has taken over from the keyboard.
        show_key_row(kNoKeyRow);
        return;
    }
    form_.state.settings_open = true;
    Canvas& canvas = take_background(kOpenWidth);
    // The background alone would cut a hole in the detail panel where the open drawer overlaps it
    // (on layouts narrower than 894 pixels).
    const Image& panel = form_.controls.panelek;
    const int drawer_left = form_.state.layout_width - kOpenWidth;
    const int overlap = panel.Left() + panel.Width() - drawer_left;
    if (overlap > 0)
        canvas.CopyFrom(0, kPanelLineInDrawer, form_.controls.panelek.Surface(),
                        Rect::sized(drawer_left - panel.Left(), 0, overlap, kPanelHeight));
    ustawiacz_.Draw(canvas, 0, 0, 0);
    draw_ticks_of_options_on();
    show_at_width(kOpenWidth);
}

void SettingsDrawer::collapse_settings() {
    form_.state.settings_open = false;
    key_row_ = kNoKeyRow;
    Canvas& canvas = take_background(kTabWidth);
    ustawiacz_.Draw(canvas, 0, 0, 0);
    show_at_width(kTabWidth);
}

// The drawer is hidden while its picture changes; the part of the background it is about to cover
// goes under its picture.
Canvas& SettingsDrawer::take_background(int shown_width) {
    form_.controls.ustawienia.Hide();
    Canvas& canvas = settings_canvas_.Canvas();
    canvas.CopyFrom(
        0, 0, form_.controls.tlo.Surface(),
        Rect::sized(form_.state.layout_width - shown_width, kDrawerLineInBackground, shown_width, kHeight));
    return canvas;
}

void SettingsDrawer::show_at_width(int shown_width) {
    Image& drawer = form_.controls.ustawienia;
    put_picture_on_drawer();
    drawer.SetLeft(form_.state.layout_width - shown_width);
    drawer.Repaint();
    drawer.Show();
}

void SettingsDrawer::draw_ticks_of_options_on() {
    for (int row = 0; row < row_count(); ++row)
        if (row_is_option(row) && row_ticked(row))
            draw_tick(kRows[row].mark_line);
}

void SettingsDrawer::ustawieniaMouseUp(int x, int y) {
    // The rows do not overlap, so at most one acts.
    for (int row = 0; row < row_count(); ++row)
        if (kRows[row].contains(x, y)) {
            act_on_row(row);
            return;
        }
}

void SettingsDrawer::draw_tick(int m) {
    // Two strokes side by side; the platform leaves out each line's end point, so every joint is
    // drawn once and the last pixel of each stroke is never drawn.
    Canvas& canvas = settings_canvas_.Canvas();
    for (int shift : {0, 1}) {
        canvas.MoveTo(128 + shift, m);
        canvas.LineTo(130 + shift, m + 2);
        canvas.LineTo(127 + shift, m + 5);
    }
}

void SettingsDrawer::erase_tick(const Rect& area) {
    settings_canvas_.Canvas().FillRect(area);
}

void SettingsDrawer::refresh() {
    put_picture_on_drawer();
    form_.controls.ustawienia.Repaint();
}

void SettingsDrawer::put_picture_on_drawer() {
    Canvas& canvas = form_.controls.ustawienia.Canvas();
    canvas.Draw(0, 0, settings_canvas_);
    if (key_row_ != kNoKeyRow && form_.state.settings_open)
        canvas.InvertFrame(key_frame(key_row_));
}

// Around the row's tick area, clear of the box a skin draws there, so that the frame shows on the
// drawer's background; the save row, which has no tick, around its caption.
Rect SettingsDrawer::key_frame(int row) {
    const int mark_line = kRows[row].mark_line;
    if (mark_line == Row::kNoMark)
        return {kRows[row].left - 2, kRows[row].top - 2, 137, kRows[row].bottom + 3};
    return {122, mark_line - 4, 137, mark_line + 10};
}

void SettingsDrawer::show_key_row(int row) {
    if (row == key_row_)
        return;
    key_row_ = row;
    if (form_.state.settings_open)
        refresh();
}

void SettingsDrawer::toggle_full_screen() {
    if (form_.state.is_win95) {
        form_.services.messages.show(kNotOnWindows95);
        return;
    }
    form_.state.full_screen = !form_.state.full_screen;
    if (!form_.state.full_screen) {
        relayout();
        return;
    }
    // Full screen waits for the next screen build, normally the next start.
    form_.services.messages.show(kFullScreenAtNextStart);
    draw_tick(kFullScreenMark);
    refresh();
}

void SettingsDrawer::toggle_animations() {
    form_.state.animations = !form_.state.animations;
    if (form_.state.animations)
        draw_tick(kAnimationsMark);
    else
        erase_tick(kAnimationsTickArea);
    refresh();
}

void SettingsDrawer::toggle_taskbar() {
    form_.state.show_taskbar = !form_.state.show_taskbar;
    if (form_.state.show_taskbar) {
        draw_tick(kTaskbarMark);
        form_.services.taskbar.show();
    } else {
        erase_tick(kTaskbarTickArea);
        form_.services.taskbar.hide();
    }
    refresh();
}

void SettingsDrawer::choose_no_wallpaper() {
    choose_wallpaper(kNoWallpaper);
}

void SettingsDrawer::choose_wallpaper_1() {
    choose_wallpaper(kWallpaper1);
}

void SettingsDrawer::choose_wallpaper_2() {
    choose_wallpaper(kWallpaper2);
}

void SettingsDrawer::choose_wallpaper(const QString& name) {
    // A picture missing from the skin must not leave the menu minimised under a name it cannot show:
    // the one in use comes back.
    relayout_with_first_loadable({name, form_.state.wallpaper, kNoWallpaper});
}

void SettingsDrawer::toggle_sound() {
    if (!form_.state.music_ready)
        return;
    if (form_.state.sound) {
        form_.music.switch_off();
        erase_tick(kSoundTickArea);
    } else if (form_.music.switch_on()) {
        draw_tick(kSoundMark);
    }
    refresh();
}

void SettingsDrawer::save() {
    if (form_.services.messages.confirm(kSaveQuestion, kSaveCaption))
        save_settings(form_.state, form_.services.registry, form_.services.messages);
}

void SettingsDrawer::relayout() {
    relayout_with_first_loadable({form_.state.wallpaper, kNoWallpaper});
}

void SettingsDrawer::relayout_with_first_loadable(const QStringList& pictures) {
    Application& application = form_.services.application;
    // Minimising gives the taskbar back while the screen changes; restoring takes it away again as
    // the settings say, and shows the window.
    application.Minimize();
    QString failure;
    for (const QString& picture : pictures) {
        form_.state.wallpaper = picture;
        try {
            form_.build_screen();
            break;
        } catch (const WallpaperError& error) {
            // The build stops before it changes anything, so the next picture starts from a whole screen.
            if (failure.isEmpty())
                failure = error.message();
        }
    }
    application.Restore();
    // Told over the window that is back rather than over a minimised one.
    if (!failure.isEmpty())
        form_.services.messages.show(failure);
}

} // namespace kelvox
