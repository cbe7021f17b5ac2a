// The screen build of the main window: one pass that lays the window out for its mode, paints the
// static background and hands each image a copy of the background under it, so that no image needs
// transparency while the menu runs.
#include "app/screen_layout.h"
#include "app/skin_files.h"
#include "app/tform1.h"
#include "platform/files.h"
#include "platform/screen.h"

namespace kelvox {

namespace {

constexpr Colour kTickerGreen = 0x00B600;

void tile_horizontally(Canvas& target, const Bitmap& tile, const Rect& piece, int from_x, int to_x, int y) {
    for (int x = from_x; x < to_x; x += piece.Width())
        target.CopyFrom(x, y, tile, piece);
}

} // namespace

QString TForm1::painted_wallpaper() const {
    if (wallpaper == QLatin1String(wallpaper_none) || wallpaper == unusable_wallpaper_)
        return {};
    return wallpaper;
}

void TForm1::build_screen() {
    // A drive root is only a directory with its backslash ("D:" alone names the drive's current one).
    set_current_directory(program_dir.size() < 3 ? program_dir + QLatin1Char('\\') : program_dir);

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
            wallpaper_picture.LoadFromFile(QStringLiteral("menu\\") + picture);
        } catch (const PlatformError& error) {
            throw WallpaperError(error);
        }
    }

    screenzaznak.Hide();
    list_shown = false;
    panel_shown = false;
    // The rebuild empties the list: no row can be hovered and no scroll button stands over nothing.
    entry_list.stop_row_hover();
    listazaznak.Hide();
    przewin_dol.Hide();
    przewin_gora.Hide();

    place_window();
    place_controls();

    ticker_canvas.Canvas().brush = {kBlack, BrushStyle::Solid};
    ticker_canvas.Canvas().font.name = QString::fromLatin1(skin_font_face);
    ticker_canvas.Canvas().font.size = 18;
    ticker_canvas.Canvas().pen.colour = kTickerGreen;
    ticker_canvas.SetSize(layout_width, 22);

    section_bar_canvas.SetSize(layout_width - 188, 48);
    section_bar_canvas.SetDeviceIndependent24(true);
    section_bar_canvas.Canvas().font.name = QStringLiteral("Verdana");
    section_bar_canvas.Canvas().font.size = 8;
    section_bar_canvas.Canvas().brush.style = BrushStyle::Clear;

    paint_background(wallpaper_picture);
    copy_backgrounds_under_images();
    settings_open = false;
    Invalidate(Rect::sized(0, 0, ClientWidth(), ClientHeight()));
    transitions.arm_startanima();
}

void TForm1::place_window() {
    const ScreenLayout layout =
        compute_screen_layout(services.screen.Width(), services.screen.Height(), full_screen, is_win95);
    layout_width = layout.layout_width;
    layout_height = layout.layout_height;
    content_top = layout.content_top;
    SetFullScreen(full_screen);
    SetPosition(layout.window_left, layout.window_top);
    SetClientSize(layout.client_width, layout.client_height);
    switch (layout.region) {
    case ScreenLayout::Region::None:
        ClearRegion();
        break;
    case ScreenLayout::Region::Rectangle:
        SetRegion(Rect::sized(0, 0, layout_width, layout_height));
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
    panelek.SetBounds(200, content_top + 86, 550, 350);
    lista.SetBounds(0, content_top + 22, 188, 458);
    przewin_gora.SetBounds(84, lista.Top() + 36, 20, 20);
    przewin_dol.SetBounds(84, lista.Top() + 436, 20, 20);
    tlo.DiscardSurface();
    tlo.SetBounds(0, content_top, layout_width, layout_height - content_top);
    scroll.SetBounds(0, content_top, layout_width, 22);
    rar_cancel.SetBounds(0, content_top, 100, 20);
    Canvas& strip = scroll.Canvas();
    strip.brush = {kBlack, BrushStyle::Solid};
    strip.FillRect(Rect::sized(0, 0, strip.Width(), strip.Height()));
    menu.SetBounds(188, content_top + 29, layout_width - 188, 48);
    menuzaznak.Hide();
    menuzaznak.SetBounds(menuzaznak.Left(), content_top + 28, menuzaznak.Width(), 20);
    listazaznak.SetBounds(2, listazaznak.Top(), 184, 20);
    screenzaznak.SetBounds(screenzaznak.Left(), panelek.Top() + 269, 10, 17);
}

void TForm1::paint_background(const Bitmap& wallpaper_picture) {
    Canvas& background = tlo.Canvas();
    background.brush = {kBlack, BrushStyle::Solid};
    background.FillRect({0, 23, tlo.Width(), tlo.Height()});
    if (!wallpaper_picture.Empty()) {
        background.Draw(0, 77, wallpaper_picture);
        if (tlo.Width() > 800)
            background.Draw(800, 77, wallpaper_picture);
    }

    // The bar and the list take their copies before the tiles land on the background.
    menu.Canvas().CopyFrom(0, 0, tlo.Surface(), Rect::sized(188, 29, menu.Width(), menu.Height()));
    Canvas& list = lista.Canvas();
    list.CopyFrom(0, 0, tlo.Surface(), Rect::sized(0, 22, 188, 458));
    tile_horizontally(list, pasek_bitmap, {0, 0, 24, 56}, 0, lista.Width(), 0);
    ImageList3.Draw(list, 0, lista.Height() - 16, 0);

    tile_horizontally(background, pasek_bitmap, {0, 0, 24, 56}, 188, layout_width, 22);
    tile_horizontally(background, dol_bitmap, {0, 0, 24, 16}, 188, layout_width, 464);
}

void TForm1::copy_backgrounds_under_images() {
    chwyt.SetVisible(!full_screen);
    ustawienia.SetLeft(layout_width - 22);
    ustawienia.SetTop(content_top + 70);

    list_backdrop.Canvas().CopyFrom(0, 0, lista.Surface(), Rect::sized(0, 0, 188, 458));

    const Rect behind_panel = Rect::sized(200, 86, panelek.Width(), panelek.Height());
    panel_backdrop.Canvas().CopyFrom(0, 0, tlo.Surface(), behind_panel);
    panelek.Canvas().CopyFrom(0, 0, tlo.Surface(), behind_panel);

    settings_canvas.Canvas().CopyFrom(0, 0, tlo.Surface(), Rect::sized(layout_width - 22, 70, 22, 394));
    ustawiacz.Draw(settings_canvas.Canvas(), 0, 0, 0);
    ustawienia.Canvas().Draw(0, 0, settings_canvas);
}

} // namespace kelvox
