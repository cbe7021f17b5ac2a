#pragma once
// A still of the menu in window mode, composed from a written disc the way the menu lays its screen
// out, so the artwork can be judged without running the menu: the bar with the section names, the
// first section's list with one row lit, the first entry's panel, the ticker and the open drawer.
#include <QImage>
#include <QString>

namespace kelvox::demo {

QImage compose_mock_screen(const QString& disc_root);

// The detail panel's tint: relief grey 128 leaves the target pixel alone; any other value turns it into
// a green-tinged grey of its brightness, raised or lowered by (2p - 256) * level / 16.
void blend_panel(const QImage& relief, QImage& target, int level);

} // namespace kelvox::demo
