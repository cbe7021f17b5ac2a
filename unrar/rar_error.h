// Failures inside the module carry the ERAR_* code the C interface reports for them.
#pragma once

#include "unrar/unrar.h"

namespace kelvox::unrar {

struct RarError {
    int code;
};

[[noreturn]] inline void fail(int code) {
    throw RarError{code};
}

} // namespace kelvox::unrar
