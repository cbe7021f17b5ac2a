#pragma once
// Modal windows shown with a nested Qt event loop.
#include "platform/modal_runner.h"

namespace kelvox {

class QtModalRunner final : public ModalRunner {
public:
    void run(Form& form) override;
};

} // namespace kelvox
