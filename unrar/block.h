// What a format reader finds at one place in a volume: the start of the volume, or one block.
#pragma once

#include "unrar/entry.h"
#include "unrar/rar_error.h"
#include "unrar/volume_set.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kelvox::unrar {

// An archive comment as stored: in a block of its own (data in `entry`), or packed inside the older
// format's main header.
struct StoredComment {
    bool present = false;
    bool inline_packed = false;
    Entry entry;
    std::string inline_bytes;
    unsigned inline_crc16 = 0;
};

struct VolumeStart {
    std::uint64_t first_block = 0;
    bool volume = false;
    bool solid = false;
    bool new_naming = true;
    bool headers_encrypted = false;
    StoredComment comment; // only when packed into the main header
};

struct Block {
    enum class Kind { file, comment, end, other };
    Kind kind = Kind::other;
    std::uint64_t next = 0;      // offset of the following block
    bool another_volume = false; // end block: a further volume follows
    bool split_before = false;
    bool split_after = false;
    Entry entry; // file and comment blocks, with their one part
};

class FormatReader {
public:
    virtual ~FormatReader() = default;
    // `offset` is where the signature starts.
    virtual VolumeStart read_start(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) = 0;
    // Throws ERAR_BAD_DATA for a damaged block; a block header cut by the end of the file is damaged too.
    virtual Block read_block(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) = 0;
    virtual std::size_t signature_size() const = 0;
};

// Where the block after one at `offset` starts. A sum that wraps (a crafted 64-bit data size) would
// send the walk back to a block already read, over and over.
inline std::uint64_t block_after(std::uint64_t offset, std::uint64_t header_size, std::uint64_t data_size) {
    const std::uint64_t data_start = offset + header_size;
    const std::uint64_t next = data_start + data_size;
    if (header_size == 0 || data_start < offset || next < data_start)
        fail(ERAR_BAD_ARCHIVE);
    return next;
}

// Whether `count` bytes from `offset` lie inside a file of `size` bytes; offsets near 2^64 do not wrap.
inline bool fits_in(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}

enum class Format { older, newer };

// Where the signature of either format starts at or after `from`, searching self-extracting stubs;
// false when absent.
bool find_signature(const VolumeSet& volumes, std::size_t volume, std::uint64_t& offset, Format& format,
                    std::uint64_t from = 0);

std::unique_ptr<FormatReader> make_reader(Format format);
std::unique_ptr<FormatReader> make_rar4_reader();
std::unique_ptr<FormatReader> make_rar5_reader();

} // namespace kelvox::unrar
