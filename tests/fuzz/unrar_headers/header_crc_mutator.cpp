// libFuzzer's own mutations, then, now and then, a block's data size set to a value a reader must
// survive (zero, the largest, one that wraps back to the block itself, one that ends exactly at the
// end of the input), and every header CRC made right again so the mutated headers get read.
#include "tests/fuzz/unrar_headers/header_blocks.h"

#include <cstddef>
#include <cstdint>
#include <random>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

namespace {

std::uint64_t telling_size(const kelvox::fuzz::HeaderBlock& block, std::size_t size, std::mt19937_64& random) {
    const std::uint64_t header = block.checked_end - block.at;
    switch (random() % 6) {
    case 0: return 0;
    case 1: return ~0ull;
    case 2: return 0 - header;                           // the next block "starts" at this one
    case 3: return 0 - header - random() % 64;           // a block or two earlier
    case 4: return size > block.checked_end ? size - block.checked_end : 0;
    default: return random() >> (random() % 64);
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned int seed) {
    std::mt19937_64 random(seed);
    size = LLVMFuzzerMutate(data, size, max_size);
    if (random() % 4 == 0) {
        const auto blocks = kelvox::fuzz::find_header_blocks(data, size);
        if (!blocks.empty()) {
            const auto& block = blocks[random() % blocks.size()];
            kelvox::fuzz::set_data_size(data, block, telling_size(block, size, random));
        }
    }
    // A few inputs keep whatever CRC the mutation left, so the checks themselves stay exercised.
    if (random() % 16 != 0)
        kelvox::fuzz::fix_header_crcs(data, size);
    return size;
}
