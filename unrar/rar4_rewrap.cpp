#include "unrar/rar4_rewrap.h"

#include "unrar/crc.h"
#include "unrar/rar4_format.h"
#include "unrar/rar_error.h"

#include <iterator>

namespace kelvox::unrar {
namespace {

using rar4::file_large;
using rar4::type_file;

void put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void seal(std::vector<unsigned char>& header) {
    const std::uint32_t crc = crc32_update(0, header.data() + 2, header.size() - 2);
    header[0] = static_cast<unsigned char>(crc & 0xFF);
    header[1] = static_cast<unsigned char>((crc >> 8) & 0xFF);
}

} // namespace

std::vector<unsigned char> rar4_archive_prefix(bool solid) {
    std::vector<unsigned char> bytes(std::begin(rar4::signature), std::end(rar4::signature));
    std::vector<unsigned char> main{0,
                                    0,
                                    rar4::type_main,
                                    static_cast<unsigned char>(solid ? rar4::main_solid : 0x00),
                                    0,
                                    rar4::main_fixed_size,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0,
                                    0};
    seal(main);
    bytes.insert(bytes.end(), main.begin(), main.end());
    return bytes;
}

std::vector<unsigned char> rar4_joined_header(const Entry& entry, bool as_regular_file) {
    std::vector<unsigned char> header = entry.raw_header;
    if (header.size() < 32)
        fail(ERAR_BAD_DATA);
    unsigned flags = header[3] | (header[4] << 8);
    flags &= ~(flag_from_previous | flag_to_next);
    if (entry.packed_size > 0xFFFFFFFFull && !(flags & file_large))
        fail(ERAR_UNKNOWN_FORMAT);
    header[2] = type_file;
    header[3] = static_cast<unsigned char>(flags & 0xFF);
    header[4] = static_cast<unsigned char>(flags >> 8);
    put32(header, 7, static_cast<std::uint32_t>(entry.packed_size));
    put32(header, 16, entry.crc);
    if (as_regular_file) {
        constexpr std::uint32_t unix_regular = 0100644, dos_directory = 0x10;
        const bool unix_host = entry.host_os >= 3 && entry.host_os <= 5;
        put32(header, 28, unix_host ? unix_regular : entry.attributes & ~dos_directory);
    }
    if (flags & file_large)
        put32(header, 32, static_cast<std::uint32_t>(entry.packed_size >> 32));
    seal(header);
    return header;
}

} // namespace kelvox::unrar
