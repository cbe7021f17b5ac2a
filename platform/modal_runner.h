#pragma once
// Showing a window modally: the caller waits until the window closes while the rest of the program
// keeps being served. Windows created for one use (the screenshot viewer, the unpack dialog) are shown
// through this interface, so that a test can look at the window and close it in place of the user.
namespace kelvox {

class Form;

class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows the form and returns once it has been closed (its OnClose has run); it is hidden then.
    virtual void run(Form& form) = 0;
};

} // namespace kelvox
