#include "unrar/progress_sink.h"

#include "unrar/rar_error.h"

#include <algorithm>

namespace kelvox::unrar {

void ProgressSink::report(const unsigned char* data, std::size_t size) {
    if (client_ &&
        client_.send(UCM_PROCESSDATA, reinterpret_cast<LPARAM>(data), static_cast<LPARAM>(size)) == -1)
        fail(ERAR_UNKNOWN);
    if (abort_flag_ != nullptr && *abort_flag_)
        fail(ERAR_UNKNOWN);
}

void ProgressSink::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const std::size_t piece = std::min(size, max_piece);
        next_.write(data, piece);
        report(data, piece);
        data += piece;
        size -= piece;
    }
}

// An empty piece still points at a byte: a caller that sums a CRC over (P1, P2) must not be handed a
// null pointer, which zlib takes for "start again".
void ProgressSink::keep_alive() {
    static const unsigned char nothing = 0;
    report(&nothing, 0);
}

} // namespace kelvox::unrar
