#pragma once
// The background picture named by the settings could not be loaded. It carries the platform's own
// text, and is told apart from the other failures of a screen build because the callers recover from
// it: the start goes on without the picture, and the settings drawer goes back to the previous one.
#include "platform/platform_error.h"

namespace kelvox {

class WallpaperError : public PlatformError {
public:
    explicit WallpaperError(const PlatformError& cause) : PlatformError(cause.message()) {}
};

} // namespace kelvox
