#include "platform/font_registry.h"

#include <fontconfig/fontconfig.h>

namespace kelvox {

std::thread read_font_configuration() {
    // Safe beside the toolkit's own first call: the library keeps whichever configuration is loaded
    // first and drops the other.
    return std::thread([] { FcInit(); });
}

} // namespace kelvox
