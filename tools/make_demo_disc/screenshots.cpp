#include "tools/make_demo_disc/screenshots.h"

#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/scenes.h"

namespace kelvox::demo {

namespace {

using ScenePainter = void (*)(QPainter&, QRandomGenerator&, const QString&);

ScenePainter painter_for(Scene scene) {
    switch (scene) {
    case Scene::space:
        return paint_space;
    case Scene::racing:
        return paint_racing;
    case Scene::strategy:
        return paint_strategy;
    case Scene::platformer:
        return paint_platformer;
    case Scene::dungeon:
        return paint_dungeon;
    case Scene::underwater:
        return paint_underwater;
    case Scene::board:
        return paint_board;
    case Scene::app_window:
        return paint_app_window;
    case Scene::chart:
        return paint_chart;
    case Scene::installer:
        return paint_installer;
    case Scene::player:
        return paint_player;
    }
    return paint_app_window;
}

} // namespace

QImage paint_screenshot(Scene scene, QSize size, quint32 seed, const QString& caption) {
    QImage image = new_image(size.width(), size.height(), QColor(0, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size.width() / 320.0, size.height() / 240.0);
    QRandomGenerator random(seed);
    painter_for(scene)(p, random, caption);
    p.end();
    return image;
}

} // namespace kelvox::demo
