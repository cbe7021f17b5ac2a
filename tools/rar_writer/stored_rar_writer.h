// Writes RAR 4.x archives whose entries are stored (method 0x30), optionally split into volumes, so that
// tests and the demo disc can make archives with exactly the names, links and volume cuts they need.
// An entry's data may also be a stream packed elsewhere (see rar29_literals.h), cut into volumes alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvox {

// What a packed entry's data unpacks to, and with which method and algorithm version.
struct PackedData {
    unsigned method;
    unsigned version;
    std::uint64_t unpacked_size;
    std::uint32_t crc;
};

struct StoredRarEntry {
    std::string name; // bytes as stored; non-ASCII names are written as UTF-8 with the Unicode flag
    std::vector<unsigned char> data;
    bool directory = false;
    unsigned host_os = 2; // 0 MS-DOS, 1 OS/2, 2 Win32, 3 Unix
    unsigned dos_time = 0x5A8C0000;
    // 0 = the usual value for the host: 0x20 (file) / 0x10 (directory) on DOS and Windows,
    // 0100644 / 040755 elsewhere; give 0120777 with a Unix host and the target as data for a symlink.
    unsigned attributes = 0;
    std::optional<PackedData> packed{}; // absent: `data` is the file itself
    // The packed stream goes on from the entry before, whose decoder state it needs; the archive is
    // then marked solid.
    bool solid = false;
};

// volume_size 0 writes one file at `path`. Otherwise the archive is cut into volumes of at most
// volume_size bytes named <path without ".rar">.partN.rar (N as wide as the last volume number needs),
// with files split across volumes where they do not fit. Throws std::runtime_error on failure.
void write_stored_rar(const std::string& path, const std::vector<StoredRarEntry>& entries,
                      std::size_t volume_size = 0);

// The names write_stored_rar gives the volumes of `path` when it writes `count` of them.
std::vector<std::string> stored_rar_volume_names(const std::string& path, std::size_t count);

} // namespace kelvox
