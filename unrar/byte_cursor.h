// Bounds-checked little-endian reading of a header held in memory; running past the end is damaged
// data, never a read outside the buffer.
#pragma once

#include "unrar/rar_error.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::unrar {

class ByteCursor {
public:
    ByteCursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteCursor(const std::vector<unsigned char>& bytes) : ByteCursor(bytes.data(), bytes.size()) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return size_ - position_; }
    void seek(std::size_t position) {
        if (position > size_)
            fail(ERAR_BAD_DATA);
        position_ = position;
    }
    void skip(std::uint64_t count) {
        if (count > remaining())
            fail(ERAR_BAD_DATA);
        position_ += static_cast<std::size_t>(count);
    }

    std::uint8_t u8() {
        need(1);
        return data_[position_++];
    }
    std::uint16_t u16() {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    std::uint64_t u64() {
        const std::uint64_t low = u32();
        return low | (static_cast<std::uint64_t>(u32()) << 32);
    }
    // The variable-length integer of the newer format: 7 bits a byte, low bits first, high bit = more.
    std::uint64_t vint() {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            const std::uint8_t byte = u8();
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        fail(ERAR_BAD_DATA);
    }
    std::string bytes(std::uint64_t count) {
        need(count);
        std::string out(reinterpret_cast<const char*>(data_ + position_), static_cast<std::size_t>(count));
        position_ += static_cast<std::size_t>(count);
        return out;
    }

private:
    void need(std::uint64_t count) const {
        if (count > remaining())
            fail(ERAR_BAD_DATA);
    }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace kelvox::unrar
