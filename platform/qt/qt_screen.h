#pragma once
// The primary screen as Qt reports it (logical pixels: a scaled desktop reports its scaled size).
#include "platform/screen.h"

namespace kelvox {

class QtScreen : public Screen {
public:
    int width() const override;
    int height() const override;
};

} // namespace kelvox
