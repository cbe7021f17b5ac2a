"""Hostile discs: each case takes a copy of a good disc and breaks it the way an adversary would, by
writing the bytes itself (links to devices, FIFOs, cut files, names that climb out, files of megabytes)."""
import os
import shutil

DEV_ZERO = "/dev/zero"
CLIMB_TO_DEV_ZERO = "..\\" * 8 + "dev\\zero"
FIRST_ENTRY_INFO = "gry/kosmiczny_rajd/info.xml"
FIRST_ENTRY_PICTURE = "gry/kosmiczny_rajd/ekran1.jpg"
SECOND_ENTRY_PICTURE = "gry/kosmiczny_rajd/ekran2.jpg"


def replace_with_link(disc, relative, target=DEV_ZERO):
    path = os.path.join(disc, relative)
    os.remove(path)
    os.symlink(target, path)


def replace_with_fifo(disc, relative):
    path = os.path.join(disc, relative)
    os.remove(path)
    os.mkfifo(path)


def cut(disc, relative, keep):
    path = os.path.join(disc, relative)
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[: int(len(data) * keep)])


def grow_sparse(disc, relative, size):
    with open(os.path.join(disc, relative), "r+b") as f:
        f.truncate(size)


def picture_climbing_out(disc):
    path = os.path.join(disc, FIRST_ENTRY_INFO)
    with open(path, "rb") as f:
        text = f.read()
    first = text.index(b"<_obrazek>") + len(b"<_obrazek>")
    end = text.index(b"</_obrazek>", first)
    with open(path, "wb") as f:
        f.write(text[:first] + CLIMB_TO_DEV_ZERO.encode() + text[end:])


def long_ticker_line(disc, length):
    line = (b"Nowe gry i programy na plycie! " * (length // 31 + 1))[:length]
    path = os.path.join(disc, "menu/reklamy.txt")
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    lines[0] = line
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines))


def case(make, check=None, menu=None, road="start", wallpaper=None):
    """make: what it does to the disc; check: a problem kelvox-check must report; menu: what the menu's
    message box must say on its road: "start" (the start ends after the box), "entry" (choosing the
    first entry of the first section) or "wallpaper" (the start goes on after the box); wallpaper: the
    TAPETA setting."""
    return {"make": make, "check": check, "menu": menu, "road": road, "wallpaper": wallpaper}


def unchanged(_disc):
    pass


CASES = {
    "index_link_to_dev_zero": case(lambda d: replace_with_link(d, "menu/index.xml"),
                                   "menu\\index.xml: Cannot open file menu\\index.xml: it lies outside the disc",
                                   "Cannot open file menu\\index.xml"),
    "index_fifo": case(lambda d: replace_with_fifo(d, "menu/index.xml"),
                       "menu\\index.xml: Cannot open file menu\\index.xml: it is not a regular file",
                       "Cannot open file menu\\index.xml"),
    "index_too_large": case(lambda d: grow_sparse(d, "menu/index.xml", 40 << 20),
                            "menu\\index.xml: Cannot open file menu\\index.xml: it has 41943040 bytes",
                            "Cannot open file menu\\index.xml"),
    "ticker_link_to_dev_zero": case(lambda d: replace_with_link(d, "menu/reklamy.txt"),
                                    "Cannot open file menu\\reklamy.txt: it lies outside the disc",
                                    "Cannot open file menu\\reklamy.txt"),
    "ticker_fifo": case(lambda d: replace_with_fifo(d, "menu/reklamy.txt"),
                        "Cannot open file menu\\reklamy.txt: it is not a regular file",
                        "Cannot open file menu\\reklamy.txt"),
    "skin_bitmap_link_to_dev_zero": case(lambda d: replace_with_link(d, "menu/pasek.bmp"),
                                         "menu\\pasek.bmp: not a valid bitmap (Cannot open file menu\\pasek.bmp: "
                                         "it lies outside the disc", "Cannot open file menu\\pasek.bmp"),
    "skin_bitmap_fifo": case(lambda d: replace_with_fifo(d, "menu/panel.bmp"),
                             "menu\\panel.bmp: not a valid bitmap (Cannot open file menu\\panel.bmp: "
                             "it is not a regular file", "Cannot open file menu\\panel.bmp"),
    "skin_bitmap_cut_halfway": case(lambda d: cut(d, "menu/pasek.bmp", 0.5),
                                    "menu\\pasek.bmp: not a valid bitmap (Bitmap image is not valid)",
                                    "Bitmap image is not valid"),
    "description_too_large": case(lambda d: grow_sparse(d, FIRST_ENTRY_INFO, 2 << 20),
                                  "info.xml: info.xml does not load (Cannot open file info.xml: it has 2097152 "
                                  "bytes", "Cannot open file info.xml", road="entry"),
    "picture_climbing_to_dev_zero": case(picture_climbing_out,
                                         "dev\\zero: the first picture does not load (Cannot open file",
                                         "..\\dev\\zero", road="entry"),
    "first_picture_cut": case(lambda d: cut(d, FIRST_ENTRY_PICTURE, 0.6),
                              "ekran1.jpg: picture 1 is damaged (Premature end of JPEG file)"),
    "second_picture_cut": case(lambda d: cut(d, SECOND_ENTRY_PICTURE, 0.6),
                               "ekran2.jpg: picture 2 is damaged (Premature end of JPEG file)"),
    "picture_link_to_dev_zero": case(lambda d: replace_with_link(d, SECOND_ENTRY_PICTURE),
                                     "ekran2.jpg: picture 2 does not load (Cannot open file"),
    "ticker_line_of_a_megabyte": case(lambda d: long_ticker_line(d, 1000 * 1000),
                                      "menu\\reklamy.txt: the line for section 1 is"),
    "wallpaper_of_five_megabytes": case(unchanged, menu="Cannot open file menu\\" + "x" * 255 + "…",
                                        road="wallpaper", wallpaper="x" * (5 << 20)),
    "wallpaper_climbing_out": case(unchanged, menu="Cannot open file menu\\..\\menu\\tapeta.bmp",
                                   road="wallpaper", wallpaper="..\\menu\\tapeta.bmp"),
}


def make_disc(good_disc, target, name):
    """The good disc cut down to its skin and one entry (quick to check), then broken as the case says."""
    shutil.copytree(os.path.join(good_disc, "menu"), os.path.join(target, "menu"), symlinks=True)
    entry = os.path.dirname(FIRST_ENTRY_INFO)
    shutil.copytree(os.path.join(good_disc, entry), os.path.join(target, entry), symlinks=True)
    with open(os.path.join(target, "menu/index.xml"), "wb") as f:
        f.write(b"<menu><nazwa>Gry</nazwa><nazwa_e>Kosmiczny Rajd</nazwa_e>"
                b"<sciezka_exe>gry\\kosmiczny_rajd\\instaluj.exe</sciezka_exe>"
                b"<sciezka>gry\\kosmiczny_rajd</sciezka></menu>\r\n")
    with open(os.path.join(target, "menu/reklamy.txt"), "wb") as f:
        f.write(b"Najlepsze gry\r\n")
    CASES[name]["make"](target)


def registry_text(wallpaper):
    """Settings with the given TAPETA: window mode off, animations on, no sound."""
    escaped = wallpaper.replace("\\", "\\\\").replace('"', '\\"')
    return ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\r\n"
            '"PELNY_EKRAN"=dword:00000001\r\n"ANIMACJE"=dword:00000001\r\n"PASEK_ZADAN"=dword:00000001\r\n'
            f'"TAPETA"="{escaped}"\r\n"DZWIEK"=dword:00000000\r\n')
