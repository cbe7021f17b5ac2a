#include "platform/disc_path.h"

namespace kelvox {

// The Windows file system ignores letter case itself, and Qt takes either separator, so a disc's path
// needs only its separators turned.
QString native_path(const QString& disc_path) {
    return disc_to_slashes(disc_path);
}

Qt::CaseSensitivity file_name_case() {
    return Qt::CaseInsensitive;
}

} // namespace kelvox
