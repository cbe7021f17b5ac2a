// Loading the skin directory into the main window's off-screen bitmaps and image lists. Every file is
// named relative to the current directory, which at start is the program's directory.
#include "app/skin_files.h"
#include "app/tform1.h"

namespace kelvox {

namespace {

constexpr Colour kSettingsBrush = 0xB4FDB8;
constexpr Colour kPanelPen = 0xEEEEEE;
constexpr Colour kPanelBackdropBrush = 0xAAAAAA;
constexpr Colour kListText = 0xEEFFEE;
constexpr Colour kListAnimationText = 0xABCDAB;

void load_skin(Bitmap& bitmap, const char* name) {
    bitmap.LoadFromFile(skin_path(name));
}

void make_24bit(Bitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    bitmap.SetDeviceIndependent24(true);
}

// Empties the list, gives it its cell size and fills it from the files, one cell each.
void fill_list(ImageList& list, int width, int height, Colour transparent,
               std::initializer_list<const char*> files) {
    list.Clear();
    list.SetSize(width, height);
    list.SetTransparentColour(transparent);
    for (const char* file : files) {
        Bitmap scratch;
        load_skin(scratch, file);
        list.Add(scratch, transparent);
    }
}

} // namespace

void TForm1::load_skin_bitmaps() {
    load_skin(cancel_bitmap, "cancel.bmp");

    settings_canvas.SetSize(144, 394);
    settings_canvas.Canvas().pen.colour = kBlack;
    settings_canvas.Canvas().brush = {kSettingsBrush, BrushStyle::Solid};

    load_skin(panel_bitmap, "panel.bmp");
    panel_bitmap.SetDeviceIndependent24(true);
    make_24bit(panel_canvas, panel_bitmap.Width(), panel_bitmap.Height());
    panel_canvas.Canvas().brush.style = BrushStyle::Clear;
    panel_canvas.Canvas().font.size = 8;
    panel_canvas.Canvas().pen.colour = kPanelPen;
    make_24bit(panel_backdrop, panel_bitmap.Width(), panel_bitmap.Height());
    panel_backdrop.Canvas().font.name = QStringLiteral("Fixedsys");
    panel_backdrop.Canvas().brush = {kPanelBackdropBrush, BrushStyle::Solid};

    ticker_canvas = Bitmap();
    load_skin(pasek_bitmap, "pasek.bmp");
    load_skin(separator_bitmap, "separator.bmp");
    load_skin(dol_bitmap, "dol.bmp");
    load_skin(lista_g_bitmap, "lista_g.bmp");
    load_skin(lista_tlo_bitmap, "lista_tlo.bmp");

    list_canvas.SetSize(188, 454);
    list_canvas.Canvas().brush.style = BrushStyle::Clear;
    list_canvas.Canvas().font = {QStringLiteral("Tahoma"), 8, false, false, kListText};

    load_skin(menu_l_bitmap, "menu_l.bmp");
    load_skin(menu_s_bitmap, "menu_s.bmp");
    load_skin(menu_r_bitmap, "menu_r.bmp");

    list_animation_canvas.SetSize(188, 458);
    list_animation_canvas.Canvas().font.name = QStringLiteral("Fixedsys");
    list_animation_canvas.Canvas().font.colour = kListAnimationText;
    list_animation_canvas.Canvas().brush.style = BrushStyle::Clear;
    list_backdrop.SetSize(188, 458);
    section_bar_canvas = Bitmap();
}

void TForm1::fill_image_lists() {
    ImageList1.Clear();
    ImageList1.SetSize(188, 454);
    ImageList1.SetTransparentColour(kWhite);
    ImageList1.Add(lista_g_bitmap, kWhite);
    fill_list(ImageList2, 188, 34, kWhite, {"lista_ban.bmp"});
    fill_list(ImageList3, 188, 16, kWhite, {"lista_d.bmp"});
    fill_list(system, 120, 22, 0x8D8D8D, {"winmenu.bmp"});
    fill_list(scrolllista, 20, 20, kWhite, {"scroll01.bmp", "scroll02.bmp", "scroll1.bmp", "scroll2.bmp"});
    for (const char* file : {"winmenu_1.bmp", "winmenu_2.bmp"}) {
        Bitmap scratch;
        load_skin(scratch, file);
        system.Add(scratch, 0x8D8D8D);
    }
    fill_list(ustawiacz, 142, 394, kBlack, {"ustawienia.bmp"});
}

} // namespace kelvox
