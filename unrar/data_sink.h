// Where decoded bytes go: a file being written, a string, or nowhere (testing); the CRC is kept on the way.
#pragma once

#include "unrar/crc.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvox::unrar {

// The size of the pieces in which stored data is copied and compressed data decoded: the caller hears
// of every piece, and a quarter of a MiB takes milliseconds to read, decode or write even from a slow
// disc, so a window that the caller keeps alive from its callback never stands still for long.
constexpr std::size_t output_piece = std::size_t{1} << 18;

class DataSink {
public:
    virtual ~DataSink() = default;
    virtual void write(const unsigned char* data, std::size_t size) = 0;
    // Said while a decoder works on without output for a while, for a sink that answers to the caller.
    virtual void keep_alive() {}
};

class DiscardSink : public DataSink {
public:
    void write(const unsigned char*, std::size_t) override {}
};

class StringSink : public DataSink {
public:
    void write(const unsigned char* data, std::size_t size) override {
        text.append(reinterpret_cast<const char*>(data), size);
    }
    std::string text;
};

class CrcSink : public DataSink {
public:
    explicit CrcSink(DataSink& next) : next_(next) {}
    void write(const unsigned char* data, std::size_t size) override {
        crc_ = crc32_update(crc_, data, size);
        count_ += size;
        next_.write(data, size);
    }
    void keep_alive() override { next_.keep_alive(); }
    std::uint32_t crc() const { return crc_; }
    std::uint64_t count() const { return count_; }

private:
    DataSink& next_;
    std::uint32_t crc_ = 0;
    std::uint64_t count_ = 0;
};

} // namespace kelvox::unrar
