#pragma once
// The controls of the menu's window, created on it in stacking order from bottom to top.
#include "platform/controls.h"

namespace kelvox {

class Form;

struct MenuControls {
    explicit MenuControls(Form& window)
        : tlo(window), menu(window), lista(window), scroll(window), menuzaznak(window), panelek(window),
          listazaznak(window), screenzaznak(window), przewin_dol(window), przewin_gora(window),
          rar_cancel(window), chwyt(window), ustawienia(window) {}

    Image tlo;
    Image menu;
    Image lista;
    Image scroll;
    Shape menuzaznak;
    Image panelek;
    Shape listazaznak;
    Shape screenzaznak;
    Image przewin_dol;
    Image przewin_gora;
    PaintBox rar_cancel;
    Image chwyt;
    Image ustawienia;
};

} // namespace kelvox
