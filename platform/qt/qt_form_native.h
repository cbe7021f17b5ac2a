#pragma once
// The Qt side of a form: the widget that is its window and the interfaces screen readers see of it.
#include "platform/form.h"
#include "platform/qt/qt_form_accessibility.h"
#include "platform/qt/qt_form_widget.h"
#include "platform/qt/qt_form_window.h"

#include <memory>

namespace kelvox {

struct Form::Native {
    explicit Native(Form& form);
    ~Native();
    static Native& of(Form& form);

    // The window's reports, into the form's private state.
    static void CancelCaptureUnlessHeld(Form& form, ShiftState buttons) {
        form.CancelCaptureUnlessHeld(buttons);
    }
    static void WindowStateChanged(Form& form, bool minimized, bool from_desktop) {
        form.WindowStateChanged(minimized, from_desktop);
    }
    static void FullScreenDroppedByDesktop(Form& form) { form.FullScreenDroppedByDesktop(); }

    std::unique_ptr<QtFormWindow> window;
    // Goes before the window: its interfaces are deleted while the window still stands.
    std::unique_ptr<QtFormAccessibility> accessibility;
};

} // namespace kelvox
