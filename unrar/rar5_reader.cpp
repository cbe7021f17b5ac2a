// Blocks of the newer format (RAR 5.0): CRC32, header size and fields as variable-length integers,
// an optional extra area of records, then the data.
#include "unrar/block.h"
#include "unrar/byte_cursor.h"
#include "unrar/crc.h"
#include "unrar/dos_time.h"

#include <vector>

namespace kelvox::unrar {
namespace {

constexpr unsigned type_main = 1;
constexpr unsigned type_file = 2;
constexpr unsigned type_service = 3;
constexpr unsigned type_encryption = 4;
constexpr unsigned type_end = 5;

constexpr std::uint64_t common_extra = 0x01;
constexpr std::uint64_t common_data = 0x02;
constexpr std::uint64_t common_from_previous = 0x08;
constexpr std::uint64_t common_to_next = 0x10;

constexpr std::uint64_t file_directory = 0x01;
constexpr std::uint64_t file_has_time = 0x02;
constexpr std::uint64_t file_has_crc = 0x04;

constexpr std::uint64_t main_volume = 0x01;
constexpr std::uint64_t main_has_volume_number = 0x02;
constexpr std::uint64_t main_solid = 0x04;
constexpr std::uint64_t end_not_last = 0x01;

constexpr unsigned extra_encryption = 1;
constexpr unsigned extra_time = 3;
constexpr unsigned extra_redirection = 5;

constexpr std::uint64_t max_header_size = 2u << 20;
constexpr std::int64_t filetime_to_unix = 11644473600LL;

struct RawBlock {
    std::vector<unsigned char> header; // from the type field on
    std::uint64_t total_size = 0;      // CRC, size field and header
};

RawBlock read_raw(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) {
    unsigned char head[4 + 10] = {};
    const std::size_t got = volumes.read_at(volume, offset, head, sizeof head);
    if (got < 5)
        fail(ERAR_BAD_DATA);
    ByteCursor size_in(head + 4, got - 4);
    const std::uint64_t size = size_in.vint();
    if (size == 0 || size > max_header_size)
        fail(ERAR_BAD_DATA);
    const std::size_t size_field = size_in.position();
    if (!fits_in(offset, 4 + size_field + size, volumes.size(volume)))
        fail(ERAR_BAD_DATA); // cut short: not worth a buffer of the size it claims
    std::vector<unsigned char> whole(4 + size_field + static_cast<std::size_t>(size));
    volumes.read_exact(volume, offset, whole.data(), whole.size());
    const std::uint32_t stored =
        whole[0] | (whole[1] << 8) | (whole[2] << 16) | (static_cast<std::uint32_t>(whole[3]) << 24);
    if (crc32_update(0, whole.data() + 4, whole.size() - 4) != stored)
        fail(ERAR_BAD_DATA);
    RawBlock block;
    block.total_size = whole.size();
    block.header.assign(whole.begin() + static_cast<std::ptrdiff_t>(4 + size_field), whole.end());
    return block;
}

unsigned dictionary_flags(std::uint64_t compression) {
    const unsigned kilobytes_log = 7 + static_cast<unsigned>((compression >> 10) & 0x0F); // 128 KB << n
    if (kilobytes_log <= 6)
        return 0x00;
    const unsigned step = kilobytes_log - 6; // 64 KB is step 0 of the older format
    return (step > 6 ? 6 : step) << 5;
}

void read_time_record(ByteCursor& in, Entry& entry) {
    const std::uint64_t flags = in.vint();
    if ((flags & 0x02) == 0)
        return;
    if (flags & 0x01)
        entry.dos_time = unix_to_dos_time(in.u32());
    else
        entry.dos_time = unix_to_dos_time(static_cast<std::int64_t>(in.u64() / 10000000) - filetime_to_unix);
}

void read_redirection(ByteCursor& in, Entry& entry) {
    const std::uint64_t type = in.vint();
    in.vint(); // flags
    const std::uint64_t length = in.vint();
    entry.link_target = in.bytes(length);
    if (type == 1 || type == 2)
        entry.link = LinkKind::symlink;
    else if (type == 4)
        entry.link = LinkKind::hardlink;
    else
        entry.link = LinkKind::unsupported;
}

void read_extra_area(ByteCursor& in, std::uint64_t end, Entry& entry) {
    while (in.position() < end) {
        const std::uint64_t size = in.vint();
        const std::size_t record_start = in.position();
        if (size == 0 || size > end - record_start)
            fail(ERAR_BAD_DATA);
        const std::uint64_t type = in.vint();
        if (type == extra_encryption) {
            entry.encrypted = true;
        } else if (type == extra_time) {
            read_time_record(in, entry);
        } else if (type == extra_redirection) {
            read_redirection(in, entry);
        }
        in.seek(record_start + static_cast<std::size_t>(size));
    }
}

Entry parse_file(ByteCursor& in, std::uint64_t extra_size, std::uint64_t data_size) {
    Entry entry;
    entry.newer_format = true;
    const std::uint64_t file_flags = in.vint();
    entry.unpacked_size = in.vint();
    entry.attributes = static_cast<std::uint32_t>(in.vint());
    if (file_flags & file_has_time)
        entry.dos_time = unix_to_dos_time(in.u32());
    entry.has_crc = (file_flags & file_has_crc) != 0;
    if (entry.has_crc)
        entry.crc = in.u32();
    const std::uint64_t compression = in.vint();
    const std::uint64_t host = in.vint();
    entry.name = in.bytes(in.vint());
    entry.host_os = host == 0 ? 2 : 3;
    entry.directory = (file_flags & file_directory) != 0;
    entry.algorithm_version = static_cast<unsigned>(compression & 0x3F);
    entry.unpack_version = entry.algorithm_version == 0 ? 50 : 70;
    entry.method = method_stored + static_cast<unsigned>((compression >> 7) & 0x07);
    const bool solid = (compression & 0x40) != 0;
    const std::uint64_t extra_end = in.remaining() >= extra_size ? in.position() + in.remaining() : 0;
    if (extra_size > 0) {
        if (extra_size > in.remaining())
            fail(ERAR_BAD_DATA);
        in.seek(static_cast<std::size_t>(extra_end - extra_size));
        read_extra_area(in, extra_end, entry);
    }
    if (entry.directory) {
        entry.flags = flag_directory;
        entry.unpacked_size = 0;
    } else {
        entry.flags = dictionary_flags(compression) | (solid ? flag_solid : 0);
    }
    if (entry.encrypted)
        entry.flags |= flag_encrypted;
    entry.packed_size = data_size;
    return entry;
}

class Rar5Reader : public FormatReader {
public:
    std::size_t signature_size() const override { return 8; }

    VolumeStart read_start(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) override {
        const std::uint64_t at = offset + signature_size();
        const RawBlock raw = read_raw(volumes, volume, at);
        ByteCursor in(raw.header);
        const std::uint64_t type = in.vint();
        VolumeStart start;
        start.first_block = at + raw.total_size;
        if (type == type_encryption) {
            start.headers_encrypted = true;
            return start;
        }
        if (type != type_main)
            fail(ERAR_BAD_ARCHIVE);
        const std::uint64_t common = in.vint();
        if (common & common_extra)
            in.vint();
        if (common & common_data)
            in.vint();
        const std::uint64_t flags = in.vint();
        if (flags & main_has_volume_number)
            in.vint();
        start.volume = (flags & main_volume) != 0;
        start.solid = (flags & main_solid) != 0;
        start.new_naming = true;
        return start;
    }

    Block read_block(const VolumeSet& volumes, std::size_t volume, std::uint64_t offset) override {
        const RawBlock raw = read_raw(volumes, volume, offset);
        ByteCursor in(raw.header);
        const std::uint64_t type = in.vint();
        const std::uint64_t common = in.vint();
        const std::uint64_t extra_size = (common & common_extra) ? in.vint() : 0;
        const std::uint64_t data_size = (common & common_data) ? in.vint() : 0;
        Block block;
        if (data_size > (1ull << 62))
            fail(ERAR_BAD_DATA);
        block.next = block_after(offset, raw.total_size, data_size);
        block.split_before = (common & common_from_previous) != 0;
        block.split_after = (common & common_to_next) != 0;
        if (type == type_file || type == type_service) {
            block.entry = parse_file(in, extra_size, data_size);
            block.entry.parts.push_back({volume, offset + raw.total_size, data_size});
            if (block.split_before)
                block.entry.flags |= flag_from_previous;
            if (block.split_after)
                block.entry.flags |= flag_to_next;
            if (type == type_file)
                block.kind = Block::Kind::file;
            else if (block.entry.name == "CMT")
                block.kind = Block::Kind::comment;
        } else if (type == type_end) {
            block.kind = Block::Kind::end;
            block.another_volume = (in.vint() & end_not_last) != 0;
        }
        return block;
    }
};

} // namespace

std::unique_ptr<FormatReader> make_rar5_reader() {
    return std::make_unique<Rar5Reader>();
}

} // namespace kelvox::unrar
