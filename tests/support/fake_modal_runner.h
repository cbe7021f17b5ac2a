#pragma once
// Modal windows for tests: instead of waiting for the user, the runner lets the test look at the window
// (its size, position, composed frame) and act on it, then closes it.
#include "platform/form.h"
#include "platform/modal_runner.h"

#include <QImage>

#include <functional>

namespace kelvox::test {

class FakeModalRunner final : public ModalRunner {
public:
    // Runs while the window is "shown"; may press on it. The window is closed afterwards.
    std::function<void(Form&)> while_shown;
    int runs = 0;
    int last_width = 0;
    int last_height = 0;
    int last_left = 0;
    int last_top = 0;
    QImage last_frame;

    void run(Form& form) override {
        ++runs;
        last_width = form.ClientWidth();
        last_height = form.ClientHeight();
        last_left = form.Left();
        last_top = form.Top();
        last_frame = form.ComposeFrame();
        if (while_shown)
            while_shown(form);
        form.Close();
    }
};

} // namespace kelvox::test
