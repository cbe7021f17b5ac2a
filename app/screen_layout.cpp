#include "app/screen_layout.h"

namespace kelvox {

QVector<QPoint> window_mode_outline() {
    return {QPoint(0, 12),    QPoint(592, 12),  QPoint(604, 0),   QPoint(770, 0),
            QPoint(770, 482), QPoint(187, 482), QPoint(174, 495), QPoint(0, 495)};
}

ScreenLayout compute_screen_layout(int screen_width, int screen_height, bool full_screen, bool is_win95) {
    ScreenLayout layout;
    if (full_screen) {
        layout.layout_width = static_cast<uint16_t>(screen_width);
        layout.layout_height = static_cast<uint16_t>(screen_height);
        // A screen lower than the band would give a negative top that the unsigned field cannot hold:
        // the band then starts at the top and is clipped at the bottom instead.
        const int top = (screen_height - content_band_height) / 2;
        layout.content_top = static_cast<uint16_t>(top > 0 ? top : 0);
        layout.client_width = screen_width;
        layout.client_height = screen_height;
        // Windows 95 mishandles a region on a full-screen window.
        layout.region = is_win95 ? ScreenLayout::Region::None : ScreenLayout::Region::Rectangle;
        return layout;
    }
    layout.layout_width = window_mode_width;
    layout.layout_height = window_mode_height;
    layout.content_top = 16;
    layout.client_width = window_mode_width;
    layout.client_height = window_mode_height;
    layout.window_top = screen_height / 2 - window_mode_height / 2;
    layout.window_left = screen_width / 2 - window_mode_width / 2;
    layout.region = ScreenLayout::Region::Polygon;
    layout.polygon = window_mode_outline();
    return layout;
}

} // namespace kelvox
