// One archive member as both formats describe it, with the flags in the older format's meanings and
// the places its packed data occupies (one part per volume it is spread over).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::unrar {

// File-header flags of the older format, which the C interface reports for both formats.
constexpr unsigned flag_from_previous = 0x01;
constexpr unsigned flag_to_next = 0x02;
constexpr unsigned flag_encrypted = 0x04;
constexpr unsigned flag_comment = 0x08;
constexpr unsigned flag_solid = 0x10;
constexpr unsigned flag_directory = 0xE0;

constexpr unsigned method_stored = 0x30;

struct DataPart {
    std::size_t volume;
    std::uint64_t offset;
    std::uint64_t size;
};

enum class LinkKind { none, symlink, hardlink, unsupported };

struct Entry {
    std::string name; // UTF-8, separators as stored
    std::uint64_t unpacked_size = 0;
    std::uint64_t packed_size = 0; // over all parts found
    unsigned flags = 0;
    unsigned host_os = 0; // older format's numbering: 0 MS-DOS, 1 OS/2, 2 Win32, 3 Unix
    std::uint32_t crc = 0;
    std::uint32_t dos_time = 0;
    unsigned unpack_version = 0;
    unsigned method = method_stored;
    std::uint32_t attributes = 0;

    bool newer_format = false;
    bool directory = false;
    bool encrypted = false;
    bool has_crc = true;
    unsigned algorithm_version = 0; // newer format: 0 for its own algorithm, others are not decoded
    LinkKind link = LinkKind::none;
    std::string link_target; // newer format: from the redirection record; older: the data

    std::vector<DataPart> parts;
    bool complete = true;    // the last part was found (false while a later volume is still missing)
    // The next volume goes on with another file (another name or size): nothing is joined onto this
    // one, and its data cannot be had.
    bool continuation_missing = false;
    std::size_t ordinal = 0; // index among the archive's file entries

    // Older format: the first part's header block, re-wrapped when a decoder needs a one-volume copy.
    std::vector<unsigned char> raw_header;
};

} // namespace kelvox::unrar
