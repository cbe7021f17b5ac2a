#pragma once
// This system's own desktop services for the program's run, made by its backend: the program entry
// names no toolkit class.
#include "platform/services.h"

#include <memory>

namespace kelvox {

// The message boxes come first and alone, so that a failure to make the other services can still be
// shown in one.
std::unique_ptr<MessageBoxes> system_message_boxes();

class SystemServices {
public:
    // The services live as long as this object; the application must outlive it.
    SystemServices(Application& application, MessageBoxes& messages);
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    Services& services();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace kelvox
