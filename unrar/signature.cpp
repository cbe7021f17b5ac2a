#include "unrar/block.h"
#include "unrar/rar4_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelvox::unrar {
namespace {

// Self-extracting stubs put the archive after the program; stubs are far smaller than this.
constexpr std::uint64_t stub_search_limit = 16u << 20;

} // namespace

bool find_signature(const VolumeSet& volumes, std::size_t volume, std::uint64_t& offset, Format& format,
                    std::uint64_t from) {
    const std::uint64_t limit = std::min(volumes.size(volume), stub_search_limit);
    constexpr std::size_t chunk = 64 * 1024;
    constexpr std::size_t overlap = 7; // a signature may straddle two chunks
    if (from >= limit)
        return false;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(chunk, limit - from)) +
                                      overlap);
    for (std::uint64_t base = from; base < limit; base += chunk) {
        const std::size_t got = volumes.read_at(volume, base, buffer.data(), buffer.size());
        for (std::size_t at = 0; at + 8 <= got && at < chunk; ++at) {
            if (buffer[at] != 0x52 ||
                std::memcmp(buffer.data() + at, rar4::signature, rar4::signature_prefix) != 0)
                continue;
            if (buffer[at + 6] == 0x00 || (buffer[at + 6] == 0x01 && buffer[at + 7] == 0x00)) {
                offset = base + at;
                format = buffer[at + 6] == 0x00 ? Format::older : Format::newer;
                return true;
            }
        }
    }
    return false;
}

std::unique_ptr<FormatReader> make_reader(Format format) {
    return format == Format::older ? make_rar4_reader() : make_rar5_reader();
}

} // namespace kelvox::unrar
