// The block headers of an archive held in memory, found the way the module walks them, so that a
// mutated input can be given right header CRCs again and its data sizes set to values a reader must
// survive. Random bytes almost never pass a header CRC, so without this the fuzzer would hardly ever
// reach what lies behind the check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvox::fuzz {

struct HeaderBlock {
    bool newer = false;          // RAR5: CRC32 of the size field and header; else CRC16 of the header
    std::size_t at = 0;          // where the CRC field starts
    std::size_t checked_end = 0; // the CRC covers [at + 4 (newer) or at + 2, checked_end)
    // Where the data size is written (0 when the block has none) and in how many bytes: 4 for the
    // older format's low half (its high half, when present, at size_high), a vint's length for RAR5.
    std::size_t size_field = 0;
    std::size_t size_length = 0;
    std::size_t size_high = 0;
};

// Every block whose header lies inside the input, in order, at most `limit`. The walk stops where a
// block does not end after its start.
std::vector<HeaderBlock> find_header_blocks(const std::uint8_t* data, std::size_t size, std::size_t limit = 4096);

// Recomputes the CRC of every block found.
void fix_header_crcs(std::uint8_t* data, std::size_t size);

// Writes `value` as the data size of `block` (cut to what its field holds).
void set_data_size(std::uint8_t* data, const HeaderBlock& block, std::uint64_t value);

} // namespace kelvox::fuzz
