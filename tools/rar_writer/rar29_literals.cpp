#include "tools/rar_writer/rar29_literals.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace kelvox {
namespace {

// The decoder reads its bits from the most significant end of each byte.
class BitWriter {
public:
    explicit BitWriter(std::size_t expected) { out_.reserve(expected); }
    void put(unsigned value, unsigned count) {
        bits_ = (bits_ << count) | (value & ((1u << count) - 1));
        held_ += count;
        while (held_ >= 8) {
            held_ -= 8;
            out_.push_back(static_cast<unsigned char>(bits_ >> held_));
        }
    }
    std::vector<unsigned char> finish() {
        if (held_ > 0)
            put(0, 8 - held_);
        return std::move(out_);
    }

private:
    std::uint64_t bits_ = 0;
    unsigned held_ = 0;
    std::vector<unsigned char> out_;
};

struct Code {
    unsigned bits = 0;
    unsigned length = 0;
};

// The format's Huffman codes are canonical: shorter codes first, equal lengths in symbol order.
template <std::size_t N> std::array<Code, N> canonical(const std::array<unsigned, N>& lengths) {
    std::array<Code, N> codes{};
    unsigned next = 0;
    for (unsigned length = 1; length <= 15; ++length) {
        for (std::size_t symbol = 0; symbol < N; ++symbol)
            if (lengths[symbol] == length)
                codes[symbol] = {next++, length};
        next <<= 1;
    }
    return codes;
}

void put(BitWriter& out, const Code& code) {
    if (code.length == 0)
        throw std::logic_error("a symbol without a code");
    out.put(code.bits, code.length);
}

// The main table covers literals and lengths (299 symbols), distances (60), low distance bits (17) and
// repeat lengths (28). Symbol 256 ends the file. Every byte but 255 gets 8 bits; 255 and the end get 9.
constexpr std::size_t table_size = 299 + 60 + 17 + 28;
constexpr unsigned end_of_file = 256;

std::array<unsigned, table_size> main_lengths() {
    std::array<unsigned, table_size> lengths{};
    std::fill(lengths.begin(), lengths.begin() + 255, 8);
    lengths[255] = lengths[end_of_file] = 9;
    return lengths;
}

// The main table's lengths are sent coded with a table of 20 symbols: 0-15 a length (added to the
// previous table's, none here), 16/17 repeat the last length 3-10/11-138 times, 18/19 that many zeros.
constexpr unsigned repeat_short = 16, repeat_long = 17, zeros_short = 18, zeros_long = 19;

std::array<unsigned, 20> length_code_lengths() {
    std::array<unsigned, 20> lengths{};
    lengths[8] = lengths[repeat_long] = lengths[zeros_long] = 2;
    lengths[9] = lengths[zeros_short] = 3;
    return lengths;
}

void put_run(BitWriter& out, const std::array<Code, 20>& codes, unsigned short_symbol, unsigned long_symbol,
             std::size_t count) {
    while (count > 0) {
        const std::size_t run = std::min<std::size_t>(count, 138);
        if (run >= 11) {
            put(out, codes[long_symbol]);
            out.put(static_cast<unsigned>(run - 11), 7);
        } else if (run >= 3) {
            put(out, codes[short_symbol]);
            out.put(static_cast<unsigned>(run - 3), 3);
        } else {
            throw std::logic_error("a run too short to code");
        }
        count -= run;
    }
}

void put_main_lengths(BitWriter& out, const std::array<unsigned, table_size>& lengths) {
    const std::array<unsigned, 20> coding = length_code_lengths();
    for (const unsigned length : coding)
        out.put(length, 4); // 15 would need an escape; no length here comes near it
    const std::array<Code, 20> codes = canonical(coding);
    for (std::size_t at = 0; at < table_size;) {
        std::size_t same = 1;
        while (at + same < table_size && lengths[at + same] == lengths[at])
            ++same;
        if (lengths[at] == 0) {
            put_run(out, codes, zeros_short, zeros_long, same);
        } else {
            put(out, codes[lengths[at]]);
            if (same > 3)
                put_run(out, codes, repeat_short, repeat_long, same - 1);
            else
                for (std::size_t again = 1; again < same; ++again)
                    put(out, codes[lengths[at]]); // a repeat covers at least 3
        }
        at += same;
    }
}

} // namespace

std::vector<unsigned char> rar29_literals(const std::vector<unsigned char>& data, bool solid) {
    BitWriter out(data.size() + data.size() / 128 + 64);
    const std::array<unsigned, table_size> lengths = main_lengths();
    if (!solid) {
        out.put(0, 1); // a block of LZ codes, not PPMd
        out.put(0, 1); // no lengths kept from an earlier table
        put_main_lengths(out, lengths);
    }
    const std::array<Code, table_size> codes = canonical(lengths);
    for (const unsigned char byte : data)
        put(out, codes[byte]);
    put(out, codes[end_of_file]);
    out.put(0, 2); // "a new file follows, with this table": the end of this one
    return out.finish();
}

StoredRarEntry rar29_literal_entry(const std::string& name, const std::vector<unsigned char>& data,
                                   bool solid) {
    if (data.size() > 0xFFFFFFFFu)
        throw std::runtime_error("entry too large for the writer: " + name);
    uLong crc = crc32(0, Z_NULL, 0);
    for (std::size_t done = 0; done < data.size();) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(data.size() - done, 1u << 30));
        crc = crc32(crc, data.data() + done, chunk);
        done += chunk;
    }
    StoredRarEntry entry;
    entry.name = name;
    entry.data = rar29_literals(data, solid);
    entry.solid = solid;
    entry.packed = PackedData{0x33, 29, data.size(), static_cast<std::uint32_t>(crc)};
    return entry;
}

} // namespace kelvox
