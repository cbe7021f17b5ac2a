#include "unrar/progress_sink.h"

#include "unrar/rar_error.h"

#include <algorithm>

namespace kelvox::unrar {

void ProgressSink::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const std::size_t piece = std::min(size, max_piece);
        next_.write(data, piece);
        if (client_ &&
            client_.send(UCM_PROCESSDATA, reinterpret_cast<LPARAM>(data), static_cast<LPARAM>(piece)) == -1)
            fail(ERAR_UNKNOWN);
        if (abort_flag_ != nullptr && *abort_flag_)
            fail(ERAR_UNKNOWN);
        data += piece;
        size -= piece;
    }
}

} // namespace kelvox::unrar
