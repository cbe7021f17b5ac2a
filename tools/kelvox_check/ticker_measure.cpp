#include "tools/kelvox_check/ticker_measure.h"

#include "app/screen_layout.h"
#include "app/skin_files.h"

#include <QGuiApplication>

namespace kelvox::check {

namespace {

constexpr int kTickerFontSize = 18;
constexpr int kStripHeight = 22;

} // namespace

TickerMeasure::TickerMeasure()
    : available_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (!available_)
        return;
    font_added_ = fonts_.add(skin_path(skin_font_file));
    canvas_.SetSize(window_mode_width, kStripHeight);
    canvas_.Canvas().font.name = QString::fromLatin1(skin_font_face);
    canvas_.Canvas().font.size = kTickerFontSize;
}

TickerMeasure::~TickerMeasure() {
    if (font_added_)
        fonts_.remove(skin_path(skin_font_file));
}

int TickerMeasure::width(const QString& line) const {
    return available_ ? canvas_.Canvas().TextWidth(line) : 0;
}

} // namespace kelvox::check
