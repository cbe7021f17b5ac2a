// Single blocks of both formats with right header CRCs, for archives the stored writer does not make:
// crafted sizes, continuations of other files, links, the newer format. Tests and the hostile-input
// suite build their archives from these.
#pragma once

#include "unrar/rar4_format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox {

using RarBytes = std::vector<unsigned char>;

void put16(RarBytes& out, unsigned value);
void put32(RarBytes& out, unsigned value);
void append(RarBytes& out, const RarBytes& more);

// The older format: one block, CRC16 over type to the body's end.
RarBytes rar4_block(unsigned type, unsigned flags, const RarBytes& body);
// Marker, then a main header with the given flags and extra body bytes.
RarBytes rar4_start(unsigned main_flags, const RarBytes& main_extra = {});

// A file (type 0x74) or service (0x7A) header of the older format. Sizes above 32 bits, or `large`,
// give the 64-bit layout (flag 0x100).
struct Rar4Header {
    unsigned type = rar4::type_file;
    unsigned flags = rar4::has_data;
    std::string name{};
    std::uint64_t packed = 0;
    std::uint64_t unpacked = 0;
    std::uint32_t crc = 0;
    unsigned host_os = 2;
    unsigned method = 0x30;
    bool large = false;
};
RarBytes rar4_header(const Rar4Header& header);

// The newer format.
void put_vint(RarBytes& out, std::uint64_t value);
// CRC32 and size in front of `header` (type, flags and the rest, as the format lays them out).
RarBytes rar5_block(const RarBytes& header);
RarBytes rar5_start(bool volume);
RarBytes rar5_end(bool another_volume);

struct Rar5File {
    std::string name{};
    RarBytes data{};
    bool has_crc = true;
    bool from_previous = false;
    bool to_next = false;
    std::uint64_t unpacked_size = ~0ull; // ~0: the data's size
    std::uint32_t crc = 0;               // with has_crc; 0: the data's CRC
    unsigned host = 1;                   // 0 Windows, 1 Unix
    std::uint64_t compression = 0;       // stored
    std::string hardlink_to{};           // a redirection record of type 4
    std::string symlink_to{};            // a redirection record of type 1
};
// The header block followed by the data.
RarBytes rar5_file(const Rar5File& file);

} // namespace kelvox
