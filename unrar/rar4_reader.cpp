// Blocks of the older format (RAR 1.5 to 4.x): a 7-byte head (CRC16, type, flags, size), an optional
// 32-bit data size, the rest of the header, then the data.
#include "unrar/block.h"
#include "unrar/byte_cursor.h"
#include "unrar/crc.h"
#include "unrar/names.h"
#include "unrar/rar4_format.h"

#include <vector>

namespace kelvox::unrar {
namespace {

using namespace rar4;

std::uint16_t crc16_of(const std::vector<unsigned char>& header, std::size_t end) {
    return static_cast<std::uint16_t>(crc32_update(0, header.data() + 2, end - 2) & 0xFFFF);
}

// Old archives keep a comment inside the main or file header and checksum only the fixed part.
bool header_crc_matches(const std::vector<unsigned char>& header, std::size_t fixed_part) {
    const std::uint16_t stored = static_cast<std::uint16_t>(header[0] | (header[1] << 8));
    if (crc16_of(header, header.size()) == stored)
        return true;
    return fixed_part >= head_size && fixed_part < header.size() && crc16_of(header, fixed_part) == stored;
}

std::vector<unsigned char> read_header(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) {
    std::vector<unsigned char> head(head_size);
    volumes.read_exact(volume, offset, head.data(), head.size());
    const std::size_t size = head[5] | (head[6] << 8);
    if (size < head_size || !fits_in(offset, size, volumes.size(volume)))
        fail(ERAR_BAD_DATA); // a header cut short is damaged: no buffer of the size it claims
    std::vector<unsigned char> header(size);
    volumes.read_exact(volume, offset, header.data(), header.size());
    return header;
}

Entry parse_file_header(const std::vector<unsigned char>& header, unsigned flags, std::size_t volume,
                        std::uint64_t offset) {
    ByteCursor in(header);
    in.seek(head_size);
    Entry entry;
    std::uint64_t packed = in.u32();
    std::uint64_t unpacked = in.u32();
    entry.host_os = in.u8();
    entry.crc = in.u32();
    entry.dos_time = in.u32();
    entry.unpack_version = in.u8();
    entry.method = in.u8();
    const std::size_t name_size = in.u16();
    entry.attributes = in.u32();
    if (flags & file_large) {
        packed |= static_cast<std::uint64_t>(in.u32()) << 32;
        unpacked |= static_cast<std::uint64_t>(in.u32()) << 32;
    }
    const std::string stored_name = in.bytes(name_size);
    const std::size_t fixed_part = in.position();
    if (!header_crc_matches(header, fixed_part))
        fail(ERAR_BAD_DATA);
    entry.name = (flags & file_unicode) ? unicode_name_to_utf8(stored_name)
                                        : oem_name_to_utf8(stored_name, entry.host_os);
    entry.flags = flags & 0xFF;
    entry.directory = (flags & flag_directory) == flag_directory;
    entry.encrypted = (flags & flag_encrypted) != 0;
    entry.unpacked_size = entry.directory ? 0 : unpacked;
    entry.packed_size = packed;
    entry.parts.push_back({volume, offset + header.size(), packed});
    entry.raw_header = header;
    const bool unix_host = entry.host_os >= 3 && entry.host_os <= 5;
    if (unix_host && (entry.attributes & 0170000) == 0120000)
        entry.link = LinkKind::symlink;
    return entry;
}

class Rar4Reader : public FormatReader {
public:
    std::size_t signature_size() const override { return 7; }

    VolumeStart read_start(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) override {
        std::uint64_t at = offset + signature_size();
        std::vector<unsigned char> header = read_header(volumes, volume, at);
        // Crafted and repaired archives may repeat the marker.
        while (header[2] == type_marker) {
            at += header.size();
            header = read_header(volumes, volume, at);
        }
        if (header[2] != type_main || header.size() < main_fixed_size)
            fail(ERAR_BAD_ARCHIVE);
        if (!header_crc_matches(header, main_fixed_size))
            fail(ERAR_BAD_DATA);
        const unsigned flags = header[3] | (header[4] << 8);
        VolumeStart start;
        start.first_block = at + header.size();
        start.volume = (flags & main_volume) != 0;
        start.solid = (flags & main_solid) != 0;
        start.new_naming = (flags & main_new_naming) != 0;
        start.headers_encrypted = (flags & main_encrypted_headers) != 0;
        if ((flags & main_comment) && header.size() > main_fixed_size + head_size)
            start.comment = inline_comment(header);
        return start;
    }

    Block read_block(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) override {
        const std::vector<unsigned char> header = read_header(volumes, volume, offset);
        const unsigned type = header[2];
        const unsigned flags = header[3] | (header[4] << 8);
        Block block;
        std::uint64_t data_size = 0;
        if (type == type_file || type == type_new_sub) {
            block.entry = parse_file_header(header, flags, volume, offset);
            data_size = block.entry.packed_size;
            block.split_before = (flags & flag_from_previous) != 0;
            block.split_after = (flags & flag_to_next) != 0;
            if (type == type_file)
                block.kind = Block::Kind::file;
            else if (block.entry.name == "CMT")
                block.kind = Block::Kind::comment;
        } else if (type == type_end) {
            block.kind = Block::Kind::end;
            block.another_volume = (flags & end_next_volume) != 0;
        } else if ((flags & has_data) && header.size() >= head_size + 4) {
            ByteCursor in(header);
            in.seek(head_size);
            data_size = in.u32();
        }
        block.next = block_after(offset, header.size(), data_size);
        return block;
    }

private:
    // COMM_HEAD inside the main header: head, unpacked size, version, method, CRC16, packed text.
    static StoredComment inline_comment(const std::vector<unsigned char>& header) {
        ByteCursor in(header);
        in.seek(main_fixed_size);
        in.skip(2);
        if (in.u8() != type_old_comment)
            return {};
        in.skip(2);
        const std::size_t size = in.u16();
        if (size < 13 || main_fixed_size + size > header.size())
            return {};
        StoredComment comment;
        comment.present = true;
        comment.inline_packed = true;
        comment.entry.unpacked_size = in.u16();
        comment.entry.unpack_version = in.u8();
        comment.entry.method = in.u8();
        comment.inline_crc16 = in.u16();
        comment.inline_bytes = in.bytes(size - 13);
        return comment;
    }
};

} // namespace

std::unique_ptr<FormatReader> make_rar4_reader() {
    return std::make_unique<Rar4Reader>();
}

} // namespace kelvox::unrar
