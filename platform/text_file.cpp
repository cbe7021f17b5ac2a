#include "platform/text_file.h"

#include "platform/files.h"
#include "platform/text_codec.h"

namespace kelvox {

QStringList load_text_lines(const QString& disc_path) {
    return decode_disc_lines(read_file_bytes(disc_path));
}

} // namespace kelvox
