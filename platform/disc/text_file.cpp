#include "platform/text_file.h"

#include "platform/disc_file.h"
#include "platform/text_codec.h"

namespace kelvox {

QStringList load_text_lines(const QString& disc_path, qint64 max_bytes) {
    return decode_disc_lines(read_disc_file(disc_path, max_bytes));
}

} // namespace kelvox
