#pragma once
// A control on a form: a rectangle in the form's client pixels that is shown or hidden, paints itself
// into the form's frame and receives the pointer in its own coordinates (origin at its top-left).
// Controls stack in the order they were created on their form: a later one covers an earlier one.
#include "platform/geometry.h"
#include "platform/mouse.h"

class QImage;

namespace kelvox {

class Form;

class Control {
public:
    explicit Control(Form& parent);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    Rect BoundsRect() const { return bounds_; }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Hiding a control that holds the pointer capture releases it.
    void SetVisible(bool visible);

    // Redraws the control's area of the form on screen.
    void Repaint();

    MouseButtonEvent OnMouseDown;
    MouseMoveEvent OnMouseMove;
    MouseButtonEvent OnMouseUp;
    NotifyEvent OnClick;
    MouseWheelEvent OnMouseWheel;

    // Composition: draws the control into the form's frame, inside `clip` (frame pixels).
    virtual void PaintOnto(QImage& frame, const Rect& clip) const = 0;

private:
    friend class Form;
    Form* parent_;
    Rect bounds_;
    bool visible_ = true;
};

} // namespace kelvox
