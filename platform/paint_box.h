#pragma once
// An invisible area that takes the pointer: it draws nothing.
#include "platform/control.h"

namespace kelvox {

class PaintBox : public Control {
public:
    explicit PaintBox(Form& parent) : Control(parent) {}
    void PaintOnto(QImage&, const Rect&) const override {}
};

} // namespace kelvox
