#pragma once
// The painters behind paint_screenshot. Each draws on a 320 x 240 logical canvas.
#include <QPainter>
#include <QRandomGenerator>
#include <QString>

namespace kelvox::demo {

void paint_space(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_racing(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_strategy(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_platformer(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_dungeon(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_underwater(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_board(QPainter& p, QRandomGenerator& random, const QString& caption);

void paint_app_window(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_chart(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_installer(QPainter& p, QRandomGenerator& random, const QString& caption);
void paint_player(QPainter& p, QRandomGenerator& random, const QString& caption);

} // namespace kelvox::demo
