#pragma once
// Pictures that pass for screenshots of the disc's invented games and programs.
#include <QImage>
#include <QSize>
#include <QString>

namespace kelvox::demo {

enum class Scene {
    space,      // a ship over a planet among stars, with a score line
    racing,     // a road running to the horizon, a car and a speedometer
    strategy,   // a map of tiles with units and a side panel
    platformer, // blocks, hills, coins and a hero
    dungeon,    // a torch-lit stone corridor with a dialogue box
    underwater, // a diver's view: light shafts, fish and bubbles
    board,      // a chessboard with pieces and a move list
    app_window, // a program window: menu, toolbar, tree and document
    chart,      // a program window with a bar chart and a table
    installer,  // a setup wizard page with a progress bar
    player,     // a music player with a spectrum and a playlist
};

// Paints one picture of the scene; `seed` varies colours and layout, `caption` is the text the scene
// shows (a title, a window caption or a score line).
QImage paint_screenshot(Scene scene, QSize size, quint32 seed, const QString& caption);

} // namespace kelvox::demo
