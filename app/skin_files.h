#pragma once
// The contract between the program and the skin directory "menu\": which files must be there, how large
// the part the drawing code uses is, and which colour an image list leaves out. The main window loads
// from these tables, and the disc checker tests a disc against them.
#include <QString>

#include <array>
#include <cstdint>

namespace kelvox {

struct SkinBitmapFile {
    const char* name; // inside "menu\"
    int min_width;    // the part the drawing code relies on
    int min_height;
};

// Loaded into off-screen bitmaps by the main window's constructor, in this order.
inline constexpr std::array<SkinBitmapFile, 10> skin_bitmaps = {{
    {"cancel.bmp", 1, 1},
    {"panel.bmp", 550, 350},
    {"pasek.bmp", 24, 56},
    {"separator.bmp", 2, 21},
    {"dol.bmp", 24, 16},
    {"lista_g.bmp", 188, 454},
    {"lista_tlo.bmp", 188, 20},
    {"menu_l.bmp", 48, 48},
    {"menu_s.bmp", 16, 48},
    {"menu_r.bmp", 150, 48},
}};

struct SkinImageListFile {
    const char* list; // the image list's name in the main window
    const char* name; // inside "menu\"
    int cell_width;
    int cell_height;
    uint32_t transparent; // 0x00BBGGRR
};

// Loaded into image lists, in this order; cell numbers follow the order within each list.
inline constexpr std::array<SkinImageListFile, 11> skin_image_list_files = {{
    {"ImageList1", "lista_g.bmp", 188, 454, 0xFFFFFF},
    {"ImageList2", "lista_ban.bmp", 188, 34, 0xFFFFFF},
    {"ImageList3", "lista_d.bmp", 188, 16, 0xFFFFFF},
    {"system", "winmenu.bmp", 120, 22, 0x8D8D8D},
    {"scrolllista", "scroll01.bmp", 20, 20, 0xFFFFFF},
    {"scrolllista", "scroll02.bmp", 20, 20, 0xFFFFFF},
    {"scrolllista", "scroll1.bmp", 20, 20, 0xFFFFFF},
    {"scrolllista", "scroll2.bmp", 20, 20, 0xFFFFFF},
    {"system", "winmenu_1.bmp", 120, 22, 0x8D8D8D},
    {"system", "winmenu_2.bmp", 120, 22, 0x8D8D8D},
    {"ustawiacz", "ustawienia.bmp", 142, 394, 0x000000},
}};

// Background pictures the settings drawer offers; "brak" means none.
inline constexpr const char* wallpaper_none = "brak";
inline constexpr std::array<const char*, 2> skin_wallpapers = {"tapeta.bmp", "tapeta#2.bmp"};

inline constexpr const char* skin_font_file = "Digirt__.ttf";
inline constexpr const char* skin_font_face = "Digital Readout Thick";
inline constexpr const char* skin_music_file = "muzyczka.mp3";

// The longest name the settings may give for the background picture, as the file systems allow.
inline constexpr qsizetype skin_file_name_max = 255;

// Whether a name taken from the settings names a file of the skin directory itself: not empty, no
// separator or drive, not "." or "..", at most skin_file_name_max characters. Anything else would
// reach outside the skin directory, or cost the file system and the message box a long time.
inline bool is_plain_skin_file_name(const QString& name) {
    if (name.isEmpty() || name.size() > skin_file_name_max || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

inline QString skin_path(const char* name) {
    return QStringLiteral("menu\\") + QString::fromLatin1(name);
}

} // namespace kelvox
