#pragma once
// What a reader sees of the disc, drawn by the menu's own window offscreen: the section bar, and each
// entry's detail panel as choosing it first after a start shows it. The window runs on services that
// reach nothing of this machine (no taskbar, no music, no settings of the user's).
#include <QImage>
#include <QString>

#include <vector>

namespace kelvox::check {

struct MenuPictures {
    // Why the menu does not start with this disc; no pictures then.
    QString failure;
    // The window they are drawn in: window mode, the narrowest the bar ever is.
    QSize window;
    QImage section_bar;
    // By section, then entry, in catalogue order.
    std::vector<std::vector<QImage>> panels;
};

// The disc whose root is `root`; the current directory is put back before returning. Needs the
// platform's Application, made on the offscreen platform when nothing is to be shown.
MenuPictures draw_menu_pictures(const QString& root);

} // namespace kelvox::check
