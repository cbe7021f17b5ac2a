#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace kelvox::unrar {

inline std::uint32_t crc32_update(std::uint32_t crc, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    uLong value = crc;
    while (size > 0) {
        const auto chunk = static_cast<uInt>(size > (1u << 30) ? (1u << 30) : size);
        value = crc32(value, bytes, chunk);
        bytes += chunk;
        size -= chunk;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace kelvox::unrar
