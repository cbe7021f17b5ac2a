#include "tests/fuzz/unrar_headers/header_blocks.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace kelvox::fuzz {
namespace {

constexpr std::uint8_t signature[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07};

std::uint64_t little_endian(const std::uint8_t* at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | at[i];
    return value;
}

void put_little_endian(std::uint8_t* at, std::size_t count, std::uint64_t value) {
    for (std::size_t i = 0; i < count; ++i, value >>= 8)
        at[i] = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint32_t crc32_of(const std::uint8_t* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

// A RAR5 variable-length integer at `pos` (before `end`); false when cut off or too long.
bool read_vint(const std::uint8_t* data, std::size_t end, std::size_t& pos, std::uint64_t& value) {
    value = 0;
    for (unsigned shift = 0; shift < 70 && pos < end; shift += 7) {
        const std::uint8_t byte = data[pos++];
        if (shift < 64)
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

// The older format: CRC16, type, flags, header size, then a 32-bit data size for file and service
// blocks (with a high half under flag 0x100) and for any block with flag 0x8000.
bool older_block(const std::uint8_t* data, std::size_t size, std::size_t at, HeaderBlock& block,
                 std::uint64_t& next) {
    if (at > size || size - at < 7)
        return false;
    const std::size_t header = static_cast<std::size_t>(little_endian(data + at + 5, 2));
    if (header < 7 || header > size - at)
        return false;
    block = {false, at, at + header, 0, 0, 0};
    const unsigned type = data[at + 2];
    const unsigned flags = static_cast<unsigned>(little_endian(data + at + 3, 2));
    std::uint64_t data_size = 0;
    if (((type == 0x74 || type == 0x7A) || (flags & 0x8000)) && header >= 11) {
        block.size_field = at + 7;
        block.size_length = 4;
        data_size = little_endian(data + at + 7, 4);
        if ((type == 0x74 || type == 0x7A) && (flags & 0x100) && header >= 36) {
            block.size_high = at + 32;
            data_size |= little_endian(data + at + 32, 4) << 32;
        }
    }
    next = at + header + data_size;
    return next > at;
}

// The newer format: CRC32, header size (vint), type, flags, extra size when flag 1, data size when 2.
bool newer_block(const std::uint8_t* data, std::size_t size, std::size_t at, HeaderBlock& block,
                 std::uint64_t& next) {
    if (at > size || size - at < 5)
        return false;
    std::size_t pos = at + 4;
    std::uint64_t header = 0;
    if (!read_vint(data, size, pos, header) || header == 0 || header > size - pos)
        return false;
    const std::size_t end = pos + static_cast<std::size_t>(header);
    block = {true, at, end, 0, 0, 0};
    std::uint64_t type = 0, flags = 0, extra = 0, data_size = 0;
    if (read_vint(data, end, pos, type) && read_vint(data, end, pos, flags) &&
        (!(flags & 1) || read_vint(data, end, pos, extra)) && (flags & 2)) {
        const std::size_t field = pos;
        if (read_vint(data, end, pos, data_size)) {
            block.size_field = field;
            block.size_length = pos - field;
        }
    }
    next = end + data_size;
    return next > at && data_size < (1ull << 62);
}

} // namespace

std::vector<HeaderBlock> find_header_blocks(const std::uint8_t* data, std::size_t size, std::size_t limit) {
    std::vector<HeaderBlock> blocks;
    const std::uint8_t* found = std::search(data, data + size, std::begin(signature), std::end(signature));
    if (found == data + size)
        return blocks;
    std::size_t at = static_cast<std::size_t>(found - data) + sizeof signature;
    if (at >= size)
        return blocks;
    const bool newer = data[at] == 0x01;
    at += newer ? 2 : 1;
    while (blocks.size() < limit) {
        HeaderBlock block;
        std::uint64_t next = 0;
        const bool follows =
            newer ? newer_block(data, size, at, block, next) : older_block(data, size, at, block, next);
        if (block.checked_end == 0)
            break;
        blocks.push_back(block);
        if (!follows || next >= size)
            break;
        at = static_cast<std::size_t>(next);
    }
    return blocks;
}

void fix_header_crcs(std::uint8_t* data, std::size_t size) {
    for (const HeaderBlock& block : find_header_blocks(data, size)) {
        if (block.newer) {
            put_little_endian(data + block.at, 4,
                              crc32_of(data + block.at + 4, block.checked_end - block.at - 4));
        } else {
            const std::uint32_t crc = crc32_of(data + block.at + 2, block.checked_end - block.at - 2);
            put_little_endian(data + block.at, 2, crc & 0xFFFF);
        }
    }
}

void set_data_size(std::uint8_t* data, const HeaderBlock& block, std::uint64_t value) {
    if (block.size_field == 0)
        return;
    if (!block.newer) {
        put_little_endian(data + block.size_field, 4, value & 0xFFFFFFFFu);
        if (block.size_high != 0)
            put_little_endian(data + block.size_high, 4, value >> 32);
        return;
    }
    // The vint keeps its length: continuation bits on every byte but the last.
    for (std::size_t i = 0; i < block.size_length; ++i, value >>= 7) {
        const bool last = i + 1 == block.size_length;
        data[block.size_field + i] = static_cast<std::uint8_t>((value & 0x7F) | (last ? 0 : 0x80));
    }
}

} // namespace kelvox::fuzz
