#include "unrar/stored_copy.h"

#include "unrar/block.h"
#include "unrar/rar_error.h"

#include <algorithm>
#include <vector>

namespace kelvox::unrar {

void copy_parts(const VolumeSet& volumes, const Entry& entry, DataSink& sink) {
    constexpr std::size_t chunk = output_piece;
    std::vector<unsigned char> buffer;
    for (const DataPart& part : entry.parts) {
        // A part that claims more than its volume holds is cut short: no buffer is made for it.
        if (!fits_in(part.offset, part.size, volumes.size(part.volume)))
            fail(ERAR_BAD_DATA);
        std::uint64_t done = 0;
        while (done < part.size) {
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, part.size - done));
            buffer.resize(count);
            volumes.read_exact(part.volume, part.offset + done, buffer.data(), count);
            sink.write(buffer.data(), count);
            done += count;
        }
    }
}

} // namespace kelvox::unrar
