#include "platform/form.h"

#include "platform/control.h"
#include "platform/qt/qt_form_native.h"

#include <QAccessible>
#include <QPolygon>
#include <QRegion>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace kelvox {

struct Form::Region {
    QRegion region;
};

Form::Native::Native(Form& form)
    : window(std::make_unique<QtFormWindow>(form)),
      accessibility(std::make_unique<QtFormAccessibility>(*window)) {}

Form::Native::~Native() = default;

Form::Native& Form::Native::of(Form& form) {
    return *form.native_;
}

QWidget* qt_widget(Form& form) {
    return Form::Native::of(form).window.get();
}

Form::Form() : native_(std::make_unique<Native>(*this)) {}

Form::~Form() {
    native_->window->Disconnect();
    for (Control* control : controls_)
        control->parent_ = nullptr;
}

int Form::Left() const {
    return native_->window->x();
}
int Form::Top() const {
    return native_->window->y();
}
int Form::ClientWidth() const {
    return client_width_;
}
int Form::ClientHeight() const {
    return client_height_;
}

void Form::SetPosition(int left, int top) {
    native_->window->move(left, top);
}

// The size asked for is the size composed, even where a window manager or Qt's offscreen screen
// gives the window another one.
void Form::SetClientSize(int width, int height) {
    client_width_ = std::max(width, 0);
    client_height_ = std::max(height, 0);
    native_->window->resize(client_width_, client_height_);
    native_->window->update();
}

void Form::SetCaption(const QString& caption) {
    native_->window->setWindowTitle(caption);
}
QString Form::Caption() const {
    return native_->window->windowTitle();
}

void Form::SetColour(Colour colour) {
    colour_ = colour;
    native_->window->update();
}

// Showing means showing on screen. A window the program minimised itself keeps asking the window
// manager to map it minimised (Qt leaves the hint as it was when the desktop restores the window), so
// after a hide it would come back minimised, and every restore would hide it anew: the hint is set
// afresh before the window is mapped again.
void Form::Show() {
    Qt::WindowStates state = native_->window->windowState();
    state.setFlag(Qt::WindowMinimized, false);
    state.setFlag(Qt::WindowFullScreen, full_screen_ || state.testFlag(Qt::WindowFullScreen));
    if (minimised_by_program_ && !native_->window->isVisible() &&
        native_->window->windowHandle() != nullptr) {
        minimised_by_program_ = false;
        refreshing_state_ = true;
        native_->window->windowHandle()->setWindowStates(state | Qt::WindowMinimized);
        native_->window->windowHandle()->setWindowStates(state);
        refreshing_state_ = false;
    }
    if (state != native_->window->windowState())
        native_->window->setWindowState(state);
    may_ask_full_screen_again_ = full_screen_ && !native_->window->isVisible();
    native_->window->show();
}

// A window manager clears the full-screen state of a window that is withdrawn. When the program hides
// and shows its window at once (a restore), the manager may clear it only after Qt has asked for it for
// the new mapping, and the window comes back without it. It is asked for once more per showing, so a
// desktop that refuses full screen is not fought.
void Form::FullScreenDroppedByDesktop() {
    if (!full_screen_ || !may_ask_full_screen_again_ || awaiting_minimise_ || !native_->window->isVisible() ||
        Minimized())
        return;
    may_ask_full_screen_again_ = false;
    native_->window->setWindowState(native_->window->windowState() | Qt::WindowFullScreen);
}

void Form::Hide() {
    native_->window->hide();
}
bool Form::Visible() const {
    return native_->window->isVisible();
}
void Form::Close() {
    native_->window->close();
}

void Form::SetFullScreen(bool on) {
    full_screen_ = on;
    Qt::WindowStates state = native_->window->windowState();
    state.setFlag(Qt::WindowFullScreen, on);
    native_->window->setWindowState(state);
    // Leaving the full-screen state lets the window manager pick a geometry; keep ours.
    native_->window->resize(client_width_, client_height_);
}

void Form::Minimize() {
    minimised_by_program_ = true;
    awaiting_minimise_ = true;
    may_ask_full_screen_again_ = false;
    native_->window->setWindowState(native_->window->windowState() | Qt::WindowMinimized);
}

void Form::Restore() {
    awaiting_minimise_ = false;
    Qt::WindowStates state = native_->window->windowState();
    state.setFlag(Qt::WindowMinimized, false);
    native_->window->setWindowState(state);
}

bool Form::Minimized() const {
    return native_->window->windowState().testFlag(Qt::WindowMinimized);
}

void Form::WindowStateChanged(bool minimized, bool from_desktop) {
    if (refreshing_state_)
        return;
    // While a window manager carries out the program's own minimising it may report the window's state
    // without the minimised flag for a moment; that is no restore. Its report of the minimised state
    // ends the wait.
    if (from_desktop && awaiting_minimise_) {
        if (!minimized)
            return;
        awaiting_minimise_ = false;
    }
    if (minimized == was_minimized_)
        return;
    was_minimized_ = minimized;
    NotifyEvent handler = minimized ? OnWindowMinimized : OnWindowRestored;
    if (handler)
        handler();
}

void Form::SetRegion(const Rect& rect) {
    region_ = std::make_unique<Region>(Region{QRegion(rect.left, rect.top, rect.Width(), rect.Height())});
    native_->window->setMask(region_->region);
}

void Form::SetRegion(const std::vector<Point>& polygon) {
    QPolygon points;
    for (const Point& point : polygon)
        points << QPoint(point.x, point.y);
    region_ = std::make_unique<Region>(Region{QRegion(points, Qt::OddEvenFill)});
    native_->window->setMask(region_->region);
}

void Form::ClearRegion() {
    region_.reset();
    native_->window->clearMask();
}

bool Form::RegionContains(int x, int y) const {
    if (region_)
        return region_->region.contains(QPoint(x, y));
    return x >= 0 && y >= 0 && x < client_width_ && y < client_height_;
}

void Form::Invalidate(const Rect& area) {
    if (area.Empty())
        return;
    native_->window->update(area.left, area.top, area.Width(), area.Height());
    native_->accessibility->ScheduleRefresh();
}

void Form::SetAccessibleName(const QString& name) {
    native_->window->SetReaderName(name);
    if (native_->window->isVisible()) {
        QAccessibleEvent event(native_->window.get(), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Form::SetAccessibleTree(AccessibleTreeSource source) {
    native_->accessibility->SetSource(std::move(source));
}

void Form::AnnounceFocus() {
    native_->accessibility->AnnounceFocus();
}

void Form::Attach(Control* control) {
    controls_.push_back(control);
}

void Form::Detach(Control* control) {
    ReleaseCaptureOf(control);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

} // namespace kelvox
