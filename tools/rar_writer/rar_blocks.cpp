#include "tools/rar_writer/rar_blocks.h"

#include <zlib.h>

#include <iterator>

namespace kelvox {
namespace {

std::uint32_t crc_of(const unsigned char* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

RarBytes redirection(std::uint64_t type, const std::string& target) {
    RarBytes record;
    put_vint(record, 5); // redirection
    put_vint(record, type);
    put_vint(record, 0);
    put_vint(record, target.size());
    record.insert(record.end(), target.begin(), target.end());
    RarBytes sized;
    put_vint(sized, record.size());
    append(sized, record);
    return sized;
}

} // namespace

void put16(RarBytes& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put32(RarBytes& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void append(RarBytes& out, const RarBytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

RarBytes rar4_block(unsigned type, unsigned flags, const RarBytes& body) {
    RarBytes block{0, 0, static_cast<unsigned char>(type)};
    put16(block, flags);
    put16(block, static_cast<unsigned>(7 + body.size()));
    append(block, body);
    const std::uint32_t crc = crc_of(block.data() + 2, block.size() - 2);
    block[0] = static_cast<unsigned char>(crc & 0xFF);
    block[1] = static_cast<unsigned char>((crc >> 8) & 0xFF);
    return block;
}

RarBytes rar4_start(unsigned main_flags, const RarBytes& main_extra) {
    RarBytes bytes(std::begin(rar4::signature), std::end(rar4::signature));
    RarBytes body(6, 0);
    append(body, main_extra);
    append(bytes, rar4_block(rar4::type_main, main_flags, body));
    return bytes;
}

RarBytes rar4_header(const Rar4Header& header) {
    const bool large = header.large || (header.packed >> 32) != 0 || (header.unpacked >> 32) != 0;
    RarBytes body;
    put32(body, static_cast<unsigned>(header.packed & 0xFFFFFFFFu));
    put32(body, static_cast<unsigned>(header.unpacked & 0xFFFFFFFFu));
    body.push_back(static_cast<unsigned char>(header.host_os));
    put32(body, header.crc);
    put32(body, 0x5A8C0000); // 2025-04-12
    body.push_back(20);
    body.push_back(static_cast<unsigned char>(header.method));
    put16(body, static_cast<unsigned>(header.name.size()));
    put32(body, header.host_os <= 2 ? 0x20 : 0100644);
    if (large) {
        put32(body, static_cast<unsigned>(header.packed >> 32));
        put32(body, static_cast<unsigned>(header.unpacked >> 32));
    }
    body.insert(body.end(), header.name.begin(), header.name.end());
    return rar4_block(header.type, header.flags | (large ? rar4::file_large : 0), body);
}

void put_vint(RarBytes& out, std::uint64_t value) {
    do {
        const auto low = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        out.push_back(static_cast<unsigned char>(low | (value != 0 ? 0x80 : 0)));
    } while (value != 0);
}

RarBytes rar5_block(const RarBytes& header) {
    RarBytes sized;
    put_vint(sized, header.size());
    append(sized, header);
    RarBytes block;
    put32(block, crc_of(sized.data(), sized.size()));
    append(block, sized);
    return block;
}

RarBytes rar5_start(bool volume) {
    RarBytes bytes{0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};
    RarBytes main;
    put_vint(main, 1); // main header
    put_vint(main, 0);
    put_vint(main, volume ? 0x01 : 0x00);
    append(bytes, rar5_block(main));
    return bytes;
}

RarBytes rar5_end(bool another_volume) {
    RarBytes end;
    put_vint(end, 5);
    put_vint(end, 0);
    put_vint(end, another_volume ? 0x01 : 0x00);
    return rar5_block(end);
}

RarBytes rar5_file(const Rar5File& file) {
    RarBytes extra;
    if (!file.hardlink_to.empty())
        append(extra, redirection(4, file.hardlink_to));
    if (!file.symlink_to.empty())
        append(extra, redirection(1, file.symlink_to));
    const std::uint64_t common =
        0x02 | (extra.empty() ? 0 : 0x01) | (file.from_previous ? 0x08 : 0) | (file.to_next ? 0x10 : 0);
    RarBytes header;
    put_vint(header, 2); // file header
    put_vint(header, common);
    if (!extra.empty())
        put_vint(header, extra.size());
    put_vint(header, file.data.size());
    put_vint(header, file.has_crc ? 0x04 : 0x00);
    put_vint(header, file.unpacked_size != ~0ull ? file.unpacked_size : file.data.size());
    put_vint(header, file.host == 0 ? 0x20 : 0100644);
    if (file.has_crc)
        put32(header, file.crc != 0 ? file.crc : crc_of(file.data.data(), file.data.size()));
    put_vint(header, file.compression);
    put_vint(header, file.host);
    put_vint(header, file.name.size());
    header.insert(header.end(), file.name.begin(), file.name.end());
    append(header, extra);
    RarBytes bytes = rar5_block(header);
    append(bytes, file.data);
    return bytes;
}

} // namespace kelvox
