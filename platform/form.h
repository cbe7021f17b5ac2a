#pragma once
// A top-level borderless window holding controls in stacking order. Its frame is composed from the
// window colour and the visible controls (bottom to top), so tests can read it without a display; the
// pointer goes to the topmost visible control under it, and a control that took a button press keeps
// the moves and the release until that button is up. Moves over no control go to the form itself.
// A modal window that opens ends the capture, since the release then goes to that window. The wheel
// goes to the topmost visible control under the pointer, the keyboard to the form itself.
#include "platform/accessible_node.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/keys.h"
#include "platform/mouse.h"

#include <QString>

#include <memory>
#include <vector>

class QImage;

namespace kelvox {

class Control;

class Form {
public:
    Form();
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Position on the desktop and client size, in the window's own pixels.
    int Left() const;
    int Top() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetPosition(int left, int top);
    void SetClientSize(int width, int height);

    void SetCaption(const QString& caption);
    QString Caption() const;
    void SetColour(Colour colour);

    // Shows the window; OnShow runs each time it goes from hidden to shown.
    void Show();
    void Hide();
    bool Visible() const;
    // Closes the window; OnClose runs (also when the user or the window manager closes it).
    void Close();
    // Asks the window manager for the full-screen state (so that desktop panels do not cover the
    // window) or gives it up.
    void SetFullScreen(bool on);
    bool FullScreen() const { return full_screen_; }
    void Minimize();
    void Restore();
    bool Minimized() const;

    // The visible region of the window: a rectangle or a polygon filled in alternate (odd-even) mode,
    // in client pixels. Pointer presses outside it are ignored.
    void SetRegion(const Rect& rect);
    void SetRegion(const std::vector<Point>& polygon);
    void ClearRegion();
    bool RegionContains(int x, int y) const;

    NotifyEvent OnShow;
    // Runs once, when the window's first frame is on the screen: what a start does not need for its
    // first frame can wait for it.
    NotifyEvent OnFirstFrame;
    NotifyEvent OnClose;
    MouseButtonEvent OnMouseDown;
    MouseMoveEvent OnMouseMove;
    MouseButtonEvent OnMouseUp;
    NotifyEvent OnClick;
    // Every key press while the window has the keyboard (Tab and Shift+Tab included, unless a dialog
    // widget on the form takes them).
    KeyEvent OnKeyDown;
    // Raised when the window becomes minimised or leaves the minimised state, whoever caused it.
    NotifyEvent OnWindowMinimized;
    NotifyEvent OnWindowRestored;

    // Pointer routing, in client pixels; the real window's events come through here too.
    void DispatchMouseDown(int x, int y, MouseButton button = MouseButton::Left, ShiftState shift = 0);
    void DispatchMouseMove(int x, int y, ShiftState shift = 0);
    void DispatchMouseUp(int x, int y, MouseButton button = MouseButton::Left, ShiftState shift = 0);
    void DispatchMouseWheel(int x, int y, int notches, ShiftState shift = 0);
    void DispatchKeyDown(int key, ShiftState shift = 0);
    // The topmost visible control under the point, or null.
    Control* ControlAt(int x, int y) const;
    Control* CaptureControl() const { return capture_; }
    bool FormCaptured() const { return form_captured_; }
    // Ends the pointer capture without a release event: a modal window opened, or the button the
    // capture waits for is found up (its release went to another window).
    void CancelCapture();

    // The whole client area as it is drawn on screen.
    QImage ComposeFrame() const;
    // Composes only `area` of the frame into `frame` (which has the client size).
    void ComposeInto(QImage& frame, const Rect& area) const;
    // Marks an area for redrawing on screen.
    void Invalidate(const Rect& area);

    // For screen readers: the window's name (its caption stays as it is), and its drawn controls as the
    // owner describes them. The tree is read again after every repaint while a reader looks at the
    // window, and readers are told what changed.
    void SetAccessibleName(const QString& name);
    void SetAccessibleTree(AccessibleTreeSource source);
    // The keyboard moved: the tree is read again and readers hear the node marked focused (the window
    // itself when none is).
    void AnnounceFocus();

    // What the backend keeps for the form: its native window and what screen readers see of it. Only
    // the backend sees inside it, and reaches the form's private side through it.
    struct Native;

private:
    friend class Control;
    void Attach(Control* control);
    void Detach(Control* control);
    void ReleaseCaptureOf(Control* control);
    // `buttons` are the buttons down during a real pointer event.
    void CancelCaptureUnlessHeld(ShiftState buttons);
    // `from_desktop`: reported by the window system rather than caused by the program's own call.
    void WindowStateChanged(bool minimized, bool from_desktop);
    void FullScreenDroppedByDesktop();

    std::unique_ptr<Native> native_;
    std::vector<Control*> controls_;
    Control* capture_ = nullptr;
    bool form_captured_ = false;
    MouseButton capture_button_ = MouseButton::Left;
    Colour colour_ = kBlack;
    int client_width_ = 0;
    int client_height_ = 0;
    bool full_screen_ = false;
    bool was_minimized_ = false;
    bool refreshing_state_ = false;
    bool minimised_by_program_ = false;
    bool awaiting_minimise_ = false;
    bool may_ask_full_screen_again_ = false;
    struct Region;
    std::unique_ptr<Region> region_;
};

} // namespace kelvox
