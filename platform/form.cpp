#include "platform/form.h"

#include "platform/control.h"
#include "platform/form_window.h"

#include <QPolygon>
#include <QRegion>

#include <algorithm>

namespace kelvox {

struct Form::Region {
    QRegion region;
};

Form::Form() : window_(std::make_unique<FormWindow>(*this)) {}

Form::~Form() {
    window_->Disconnect();
    for (Control* control : controls_)
        control->parent_ = nullptr;
}

int Form::Left() const {
    return window_->x();
}
int Form::Top() const {
    return window_->y();
}
int Form::ClientWidth() const {
    return client_width_;
}
int Form::ClientHeight() const {
    return client_height_;
}

void Form::SetPosition(int left, int top) {
    window_->move(left, top);
}

// The size asked for is the size composed, even where a window manager or Qt's offscreen screen
// gives the window another one.
void Form::SetClientSize(int width, int height) {
    client_width_ = std::max(width, 0);
    client_height_ = std::max(height, 0);
    window_->resize(client_width_, client_height_);
    window_->update();
}

void Form::SetCaption(const QString& caption) {
    window_->setWindowTitle(caption);
}
QString Form::Caption() const {
    return window_->windowTitle();
}

void Form::SetColour(Colour colour) {
    colour_ = colour;
    window_->update();
}

void Form::Show() {
    if (full_screen_)
        window_->setWindowState(window_->windowState() | Qt::WindowFullScreen);
    window_->show();
}

void Form::Hide() {
    window_->hide();
}
bool Form::Visible() const {
    return window_->isVisible();
}
void Form::Close() {
    window_->close();
}

void Form::SetFullScreen(bool on) {
    full_screen_ = on;
    Qt::WindowStates state = window_->windowState();
    state.setFlag(Qt::WindowFullScreen, on);
    window_->setWindowState(state);
    // Leaving the full-screen state lets the window manager pick a geometry; keep ours.
    window_->resize(client_width_, client_height_);
}

void Form::Minimize() {
    window_->setWindowState(window_->windowState() | Qt::WindowMinimized);
}

void Form::Restore() {
    Qt::WindowStates state = window_->windowState();
    state.setFlag(Qt::WindowMinimized, false);
    window_->setWindowState(state);
}

bool Form::Minimized() const {
    return window_->windowState().testFlag(Qt::WindowMinimized);
}

void Form::WindowStateChanged(bool minimized) {
    if (minimized == was_minimized_)
        return;
    was_minimized_ = minimized;
    NotifyEvent handler = minimized ? OnWindowMinimized : OnWindowRestored;
    if (handler)
        handler();
}

void Form::SetRegion(const Rect& rect) {
    region_ = std::make_unique<Region>(Region{QRegion(rect.left, rect.top, rect.Width(), rect.Height())});
    window_->setMask(region_->region);
}

void Form::SetRegion(const std::vector<Point>& polygon) {
    QPolygon points;
    for (const Point& point : polygon)
        points << QPoint(point.x, point.y);
    region_ = std::make_unique<Region>(Region{QRegion(points, Qt::OddEvenFill)});
    window_->setMask(region_->region);
}

void Form::ClearRegion() {
    region_.reset();
    window_->clearMask();
}

bool Form::RegionContains(int x, int y) const {
    if (region_)
        return region_->region.contains(QPoint(x, y));
    return x >= 0 && y >= 0 && x < client_width_ && y < client_height_;
}

QWidget* Form::Widget() {
    return window_.get();
}

void Form::Invalidate(const Rect& area) {
    if (!area.Empty())
        window_->update(area.left, area.top, area.Width(), area.Height());
}

void Form::Attach(Control* control) {
    controls_.push_back(control);
}

void Form::Detach(Control* control) {
    ReleaseCaptureOf(control);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

} // namespace kelvox
