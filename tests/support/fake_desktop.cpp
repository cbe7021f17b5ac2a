#include "tests/support/fake_desktop.h"

#include "tests/support/recording_message_boxes.h"

namespace kelvox::test {

void FakeTaskbar::hide() {
    calls.push_back("hide");
    hidden = true;
}

void FakeTaskbar::show() {
    calls.push_back("show");
    hidden = false;
}

bool FakeFontRegistry::add(const QString& file) {
    added << file;
    if (add_succeeds)
        ++registered;
    return add_succeeds;
}

void FakeFontRegistry::remove(const QString& file) {
    removed << file;
    if (registered > 0)
        --registered;
}

void RecordingMessageBoxes::show(const QString& text) {
    shown << text;
    all << text;
}

bool RecordingMessageBoxes::confirm(const QString& text, const QString& caption) {
    confirmed << text;
    captions << caption;
    all << text;
    return confirm_answer;
}

} // namespace kelvox::test
