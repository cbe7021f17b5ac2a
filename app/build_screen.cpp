// The screen build of the main window: one pass that lays the window out for its mode, paints the
// static background and hands each image a copy of the background under it, so that no image needs
// transparency while the menu runs.
#include "app/grip_strip.h"
#include "app/screen_layout.h"
#include "app/skin_files.h"
#include "app/tform1.h"
#include "app/wallpaper_error.h"
#include "platform/screen.h"

namespace kelvox {

namespace {

void tile_horizontally(Canvas& target, const Bitmap& tile, const Rect& piece, int from_x, int to_x, int y) {
    for (int x = from_x; x < to_x; x += piece.Width())
        target.CopyFrom(x, y, tile, piece);
}

} // namespace

QString TForm1::painted_wallpaper() const {
    const QString& wallpaper = state.wallpaper;
    if (wallpaper == QLatin1String(wallpaper_none) || wallpaper == unusable_wallpaper_)
        return {};
    return wallpaper;
}

void TForm1::build_screen() {
    Bitmap wallpaper_picture;
    if (const QString picture = painted_wallpaper(); !picture.isEmpty()) {
        if (!is_plain_skin_file_name(picture)) {
            // Named in the message no longer than a file name can be: a box holding megabytes of
            // text takes the machine for many seconds.
            const QString shown = picture.size() > skin_file_name_max
                                      ? picture.left(skin_file_name_max) + QStringLiteral("…")
                                      : picture;
            throw WallpaperError(cannot_open_file(QStringLiteral("menu\\") + shown));
        }
        try {
            read_in_directory(
                state.program_dir, QStringLiteral("menu\\") + picture, [&](const QString& path) {
                    if (skin_read_ahead_ == nullptr || !skin_read_ahead_->Take(path, wallpaper_picture))
                        wallpaper_picture.LoadFromFile(path);
                });
        } catch (const PlatformError& error) {
            throw WallpaperError(error);
        }
    }

    controls.screenzaznak.Hide();
    state.list_shown = false;
    state.panel_shown = false;
    // The rebuild empties the list: no row can be hovered and no scroll button stands over nothing.
    screen.entry_list.stop_row_hover();
    controls.listazaznak.Hide();
    controls.przewin_dol.Hide();
    controls.przewin_gora.Hide();

    place_window();
    place_controls();
    screen.ticker.size_strip(QString::fromLatin1(skin_font_face));
    screen.section_bar.size_canvas();

    paint_background(wallpaper_picture);
    copy_backgrounds_under_images();
    state.settings_open = false;
    Invalidate(Rect::sized(0, 0, ClientWidth(), ClientHeight()));
    screen.transitions.arm_startanima();
}

void TForm1::place_window() {
    const ScreenLayout layout = compute_screen_layout(services.screen.width(), services.screen.height(),
                                                      state.full_screen, state.is_win95);
    state.layout_width = layout.layout_width;
    state.layout_height = layout.layout_height;
    state.content_top = layout.content_top;
    SetFullScreen(state.full_screen);
    SetPosition(layout.window_left, layout.window_top);
    SetClientSize(layout.client_width, layout.client_height);
    switch (layout.region) {
    case ScreenLayout::Region::None:
        ClearRegion();
        break;
    case ScreenLayout::Region::Rectangle:
        SetRegion(Rect::sized(0, 0, state.layout_width, state.layout_height));
        break;
    case ScreenLayout::Region::Polygon: {
        std::vector<Point> outline;
        for (const QPoint& p : layout.polygon)
            outline.push_back({p.x(), p.y()});
        SetRegion(outline);
        break;
    }
    }
}

void TForm1::place_controls() {
    MenuControls& c = controls;
    const int content_top = state.content_top;
    const int layout_width = state.layout_width;
    c.panelek.SetBounds(200, content_top + 86, 550, 350);
    c.lista.SetBounds(0, content_top + 22, 188, 458);
    c.przewin_gora.SetBounds(84, c.lista.Top() + 36, 20, 20);
    c.przewin_dol.SetBounds(84, c.lista.Top() + 436, 20, 20);
    c.tlo.DiscardSurface();
    c.tlo.SetBounds(0, content_top, layout_width, state.layout_height - content_top);
    c.scroll.SetBounds(0, content_top, layout_width, 22);
    c.rar_cancel.SetBounds(0, content_top, 100, 20);
    Canvas& strip = c.scroll.Canvas();
    strip.brush = {kBlack, BrushStyle::Solid};
    strip.FillRect(Rect::sized(0, 0, strip.Width(), strip.Height()));
    c.menu.SetBounds(188, content_top + 29, layout_width - 188, 48);
    c.menuzaznak.Hide();
    c.menuzaznak.SetBounds(c.menuzaznak.Left(), content_top + 28, c.menuzaznak.Width(), 20);
    c.listazaznak.SetBounds(2, c.listazaznak.Top(), 184, 20);
    c.screenzaznak.SetBounds(c.screenzaznak.Left(), c.panelek.Top() + 269, 10, 17);
}

void TForm1::paint_background(const Bitmap& wallpaper_picture) {
    MenuControls& c = controls;
    Canvas& background = c.tlo.Canvas();
    background.brush = {kBlack, BrushStyle::Solid};
    background.FillRect({0, 23, c.tlo.Width(), c.tlo.Height()});
    if (!wallpaper_picture.Empty()) {
        background.Draw(0, 77, wallpaper_picture);
        if (c.tlo.Width() > 800)
            background.Draw(800, 77, wallpaper_picture);
    }

    // The bar and the list take their copies before the tiles land on the background.
    c.menu.Canvas().CopyFrom(0, 0, c.tlo.Surface(), Rect::sized(188, 29, c.menu.Width(), c.menu.Height()));
    Canvas& list = c.lista.Canvas();
    list.CopyFrom(0, 0, c.tlo.Surface(), Rect::sized(0, 22, 188, 458));
    tile_horizontally(list, pasek_bitmap_, {0, 0, 24, 56}, 0, c.lista.Width(), 0);
    screen.entry_list.draw_bottom_edge(list, c.lista.Height() - 16);

    tile_horizontally(background, pasek_bitmap_, {0, 0, 24, 56}, 188, state.layout_width, 22);
    tile_horizontally(background, dol_bitmap_, {0, 0, 24, 16}, 188, state.layout_width, 464);
}

void TForm1::copy_backgrounds_under_images() {
    MenuControls& c = controls;
    // Drawn when window mode first shows it: its label's font is looked up for nothing on a full screen.
    if (!state.full_screen && !grip_strip_drawn_) {
        draw_grip_strip(c.chwyt.Surface());
        grip_strip_drawn_ = true;
    }
    c.chwyt.SetVisible(!state.full_screen);
    c.ustawienia.SetLeft(state.layout_width - 22);
    c.ustawienia.SetTop(state.content_top + 70);

    screen.entry_list.take_backdrop();

    screen.detail_panel.take_backdrop();
    c.panelek.Canvas().CopyFrom(0, 0, c.tlo.Surface(),
                                Rect::sized(200, 86, c.panelek.Width(), c.panelek.Height()));

    settings_drawer.paint_tab();
}

} // namespace kelvox
