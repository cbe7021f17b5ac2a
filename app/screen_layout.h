#pragma once
// Where the window and its content band stand for one screen build: the part of the screen build that is
// pure arithmetic, kept apart so that the numbers can be checked for any screen size.
#include <QPoint>
#include <QVector>

#include <cstdint>

namespace kelvox {

struct ScreenLayout {
    uint16_t layout_width = 0;
    uint16_t layout_height = 0;
    uint16_t content_top = 0;
    int window_left = 0;
    int window_top = 0;
    int client_width = 0;
    int client_height = 0;
    enum class Region { None, Rectangle, Polygon } region = Region::None;
    QVector<QPoint> polygon; // the window-mode outline, filled odd-even
};

constexpr int content_band_height = 480;
constexpr int window_mode_width = 770;
constexpr int window_mode_height = 496;

ScreenLayout compute_screen_layout(int screen_width, int screen_height, bool full_screen, bool is_win95);

// The eight-point outline of the window in window mode: the top edge cut 12 pixels lower but for a tab
// at the right, the bottom edge cut at 482 but for a tab at the left.
QVector<QPoint> window_mode_outline();

} // namespace kelvox
