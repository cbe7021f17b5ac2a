// The caller's callback as RARSetCallback hands it over: one function for the volume questions and the
// reports of unpacked data, with the caller's own value passed back on every call.
#pragma once

#include "unrar/unrar.h"

namespace kelvox::unrar {

struct ClientCallback {
    UNRARCALLBACK function = nullptr;
    LPARAM user_data = 0;

    explicit operator bool() const { return function != nullptr; }
    int send(unsigned message, LPARAM p1, LPARAM p2) const { return function(message, user_data, p1, p2); }
};

} // namespace kelvox::unrar
