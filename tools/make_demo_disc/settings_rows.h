#pragma once
// Where the settings drawer reacts: each row's caption, the lines and columns a click counts on, and the
// line from which its tick mark is drawn at x 127 to 131 (-1 for the save row, which has none).
#include <array>

namespace kelvox::demo {

struct SettingsRow {
    const char* caption; // UTF-8
    int top, bottom;     // click lines, both included
    int left;            // first click column
    int mark_line;
};

inline constexpr std::array<SettingsRow, 8> settings_rows = {{
    {"Pełny ekran", 20, 27, 33, 21},
    {"Animacje", 36, 41, 53, 37},
    {"Pasek zadań", 52, 58, 29, 53},
    {"Brak tapety", 70, 74, 40, 70},
    {"Tapeta 1", 156, 162, 47, 157},
    {"Tapeta 2", 246, 252, 47, 247},
    {"Dźwięk", 276, 282, 70, 277},
    {"Zapisz ustawienia", 361, 377, 13, -1},
}};

// Tick marks take x 127 to 131 on lines m to m + 5.
inline constexpr int tick_left = 127;
inline constexpr int tick_right = 131;
inline constexpr int tick_lines = 6;

} // namespace kelvox::demo
