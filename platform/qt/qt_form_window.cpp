#include "platform/qt/qt_form_window.h"

#include "platform/draw/image_memory.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_shift_state.h"

#include "platform/qt/qt_form_native.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <QWheelEvent>

namespace kelvox {

namespace {

MouseButton button_of(const QMouseEvent* event) {
    return kelvox::button_of(event->button());
}

ShiftState shift_of(const QMouseEvent* event) {
    return kelvox::shift_of(event->modifiers(), event->buttons());
}

QPoint position_of(const QMouseEvent* event) {
    return event->position().toPoint();
}

} // namespace

QtFormWindow::QtFormWindow(Form& form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(&form) {
    setMouseTracking(true);
    // The whole client area is painted from the frame every time; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

QtFormAccessibility* QtFormWindow::accessibility() const {
    return form_ != nullptr ? Form::Native::of(*form_).accessibility.get() : nullptr;
}

// The image the painter draws into when the form can compose straight into it: the window's own
// backing image (not a copy Qt renders elsewhere, as for a grab), 32-bit, at the window's own density
// and position. Spares a frame of the window's size to fill and copy (a start's first frame paid for
// both).
QImage* QtFormWindow::writable_backing_image(QPainter& painter) {
    QPaintDevice* device = painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : nullptr;
    QBackingStore* store = backingStore();
    if (device == nullptr || store == nullptr || device != store->paintDevice() ||
        device->devType() != QInternal::Image || !painter.deviceTransform().isIdentity())
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    // The form's pixels are opaque (0xFFRRGGBB), which both formats store alike.
    const bool plain =
        image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied;
    if (!plain || image->devicePixelRatio() != 1.0)
        return nullptr;
    return image;
}

void QtFormWindow::paintEvent(QPaintEvent* event) {
    if (form_ == nullptr)
        return;
    const int width = form_->ClientWidth();
    const int height = form_->ClientHeight();
    if (width <= 0 || height <= 0)
        return;
    const QRect client(0, 0, width, height);
    QPainter painter(this);
    if (QImage* backing = writable_backing_image(painter)) {
        // Only the region Qt repaints: it leaves out the child widgets, which keep their pixels.
        for (const QRect& part : event->region())
            compose(*backing, part.intersected(client));
    } else {
        if (frame_.width() != width || frame_.height() != height)
            frame_ = new_rgb32_image(width, height);
        const QRect dirty = event->rect().intersected(client);
        compose(frame_, dirty);
        // The frame is in the window's own pixels; on a high-density screen the painter scales it by
        // the device pixel ratio, pixel by pixel (smooth transforms stay off).
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(dirty, frame_, dirty);
    }
    if (!painted_) {
        painted_ = true;
        // Queued: the frame is flushed to the screen when this paint returns, before the handler runs.
        QMetaObject::invokeMethod(this, &QtFormWindow::first_frame_shown, Qt::QueuedConnection);
    }
}

void QtFormWindow::compose(QImage& target, const QRect& area) const {
    if (!area.isEmpty())
        form_->ComposeInto(target, Rect::sized(area.x(), area.y(), area.width(), area.height()));
}

void QtFormWindow::first_frame_shown() {
    if (form_ != nullptr && form_->OnFirstFrame) {
        NotifyEvent handler = form_->OnFirstFrame;
        handler();
    }
}

bool QtFormWindow::event(QEvent* event) {
    // A modal window opening over this one takes the pointer: the release will go there.
    if (form_ != nullptr && event->type() == QEvent::WindowBlocked)
        form_->CancelCapture();
    return QWidget::event(event);
}

// A capture whose button is no longer down lost its release to another window; the event is then
// routed as if there had been none. The button a press brings down cannot have been down before it.
void QtFormWindow::mousePressEvent(QMouseEvent* event) {
    if (form_ == nullptr)
        return;
    Form::Native::CancelCaptureUnlessHeld(*form_, shift_of(event) & ~button_flag(button_of(event)));
    form_->DispatchMouseDown(position_of(event).x(), position_of(event).y(), button_of(event),
                             shift_of(event));
}

void QtFormWindow::mouseMoveEvent(QMouseEvent* event) {
    if (form_ == nullptr)
        return;
    Form::Native::CancelCaptureUnlessHeld(*form_, shift_of(event));
    form_->DispatchMouseMove(position_of(event).x(), position_of(event).y(), shift_of(event));
}

void QtFormWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (form_ != nullptr)
        form_->DispatchMouseUp(position_of(event).x(), position_of(event).y(), button_of(event),
                               shift_of(event));
}

void QtFormWindow::wheelEvent(QWheelEvent* event) {
    constexpr int kNotch = 120;
    wheel_remainder_ += event->angleDelta().y();
    const int notches = wheel_remainder_ / kNotch;
    wheel_remainder_ -= notches * kNotch;
    if (form_ != nullptr && notches != 0)
        form_->DispatchMouseWheel(event->position().toPoint().x(), event->position().toPoint().y(), notches,
                                  kelvox::shift_of(event->modifiers(), event->buttons()));
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
    if (form_ != nullptr)
        form_->DispatchKeyDown(virtual_key_of(event), kelvox::shift_of(event->modifiers(), Qt::NoButton));
}

// Tab walks a dialog's widgets when the form has them; on a form of drawn controls alone it is a key
// like any other, for the form's own handler.
bool QtFormWindow::focusNextPrevChild(bool next) {
    QWidget* focused = focusWidget();
    if (focused == nullptr || focused == this)
        return false;
    return QWidget::focusNextPrevChild(next);
}

void QtFormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Spontaneous show events come from the desktop (a restore); only the program's own showing counts.
    if (form_ != nullptr && !event->spontaneous() && form_->OnShow) {
        NotifyEvent handler = form_->OnShow;
        handler();
    }
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
    if (form_ != nullptr && form_->OnClose) {
        NotifyEvent handler = form_->OnClose;
        handler();
    }
    event->accept();
}

void QtFormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (form_ == nullptr || event->type() != QEvent::WindowStateChange)
        return;
    Form::Native::WindowStateChanged(*form_, windowState().testFlag(Qt::WindowMinimized),
                                     event->spontaneous());
    // The handlers above may have closed the window.
    if (form_ != nullptr && event->spontaneous() && !windowState().testFlag(Qt::WindowFullScreen))
        Form::Native::FullScreenDroppedByDesktop(*form_);
}

} // namespace kelvox
