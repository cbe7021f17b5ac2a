#include "tools/rar_writer/stored_rar_writer.h"

#include "tools/rar_writer/rar_blocks.h"
#include "unrar/rar4_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace kelvox {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t marker_size = sizeof rar4::signature;
constexpr std::size_t main_header_size = rar4::main_fixed_size;
constexpr std::size_t end_block_size = rar4::head_size;
constexpr std::size_t file_header_fixed_size = 32;

uint32_t crc32_of(const unsigned char* data, std::size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        crc = crc32(crc, data, chunk);
        data += chunk;
        size -= chunk;
    }
    return static_cast<uint32_t>(crc);
}

// A block: CRC, type, flags, size, then the body; the CRC covers type to the body's end.
Bytes block(unsigned type, unsigned flags, const Bytes& body) {
    if (7 + body.size() > 0xFFFF)
        throw std::runtime_error("RAR header too large");
    return rar4_block(type, flags, body);
}

Bytes main_header(bool volume, bool first, bool solid) {
    unsigned flags = solid ? rar4::main_solid : 0;
    if (volume)
        flags |= rar4::main_volume | rar4::main_new_naming | (first ? rar4::main_first_volume : 0);
    return block(rar4::type_main, flags, Bytes(6, 0));
}

Bytes end_block(bool another_follows) {
    return block(rar4::type_end, 0x4000 | (another_follows ? rar4::end_next_volume : 0), {});
}

unsigned default_attributes(const StoredRarEntry& entry) {
    if (entry.attributes != 0)
        return entry.attributes;
    if (entry.host_os <= 2)
        return entry.directory ? 0x10 : 0x20;
    return entry.directory ? 040755 : 0100644;
}

bool has_high_bytes(const std::string& name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

struct Part {
    std::size_t offset;
    std::size_t size;
    bool last;
};

Bytes file_header(const StoredRarEntry& entry, const Part& part, uint32_t crc) {
    unsigned flags = rar4::has_data;
    if (entry.directory)
        flags |= rar4::file_directory;
    if (part.offset > 0)
        flags |= rar4::file_from_previous;
    if (!part.last)
        flags |= rar4::file_to_next;
    if (has_high_bytes(entry.name))
        flags |= rar4::file_unicode;
    if (entry.solid)
        flags |= rar4::file_solid;
    const std::uint64_t unpacked = entry.packed ? entry.packed->unpacked_size : entry.data.size();
    if (entry.data.size() > std::numeric_limits<uint32_t>::max() ||
        unpacked > std::numeric_limits<uint32_t>::max())
        throw std::runtime_error("entry too large for the writer: " + entry.name);
    Bytes body;
    put32(body, static_cast<uint32_t>(part.size));
    put32(body, static_cast<uint32_t>(unpacked));
    body.push_back(static_cast<unsigned char>(entry.host_os));
    put32(body, crc);
    put32(body, entry.dos_time);
    body.push_back(static_cast<unsigned char>(entry.packed ? entry.packed->version : 20));
    body.push_back(static_cast<unsigned char>(entry.packed ? entry.packed->method : 0x30));
    put16(body, static_cast<unsigned>(entry.name.size()));
    put32(body, default_attributes(entry));
    body.insert(body.end(), entry.name.begin(), entry.name.end());
    return block(rar4::type_file, flags, body);
}

class VolumeBuilder {
public:
    explicit VolumeBuilder(std::size_t volume_size) : capacity_(volume_size) { start_volume(); }

    void add(const StoredRarEntry& entry) {
        const std::size_t header_size = file_header_fixed_size + entry.name.size();
        std::size_t offset = 0;
        for (;;) {
            const std::size_t wanted = entry.data.empty() ? 0 : 1;
            if (room() < header_size + wanted) {
                if (current_is_fresh())
                    throw std::runtime_error("volume size too small for the header of " + entry.name);
                start_volume();
                continue;
            }
            const std::size_t size = std::min(entry.data.size() - offset, room() - header_size);
            const Part part{offset, size, offset + size == entry.data.size()};
            const unsigned char* bytes = entry.data.data() + offset;
            // A part before the last carries its own data's CRC; the last one the whole file's.
            const uint32_t crc = entry.directory ? 0
                                 : !part.last    ? crc32_of(bytes, size)
                                 : entry.packed  ? entry.packed->crc
                                                 : crc32_of(entry.data.data(), entry.data.size());
            append(file_header(entry, part, crc));
            volumes_.back().insert(volumes_.back().end(), bytes, bytes + size);
            offset += size;
            if (offset == entry.data.size())
                return;
        }
    }

    std::vector<Bytes> finish(bool solid) {
        const bool volume = capacity_ != 0;
        for (std::size_t i = 0; i < volumes_.size(); ++i) {
            Bytes head(std::begin(rar4::signature), std::end(rar4::signature));
            const Bytes main = main_header(volume, i == 0, solid);
            head.insert(head.end(), main.begin(), main.end());
            volumes_[i].insert(volumes_[i].begin(), head.begin(), head.end());
            const Bytes end = end_block(i + 1 < volumes_.size());
            volumes_[i].insert(volumes_[i].end(), end.begin(), end.end());
        }
        return std::move(volumes_);
    }

private:
    std::size_t room() const {
        if (capacity_ == 0)
            return std::numeric_limits<std::size_t>::max() / 2;
        const std::size_t used = marker_size + main_header_size + end_block_size + volumes_.back().size();
        return used >= capacity_ ? 0 : capacity_ - used;
    }

    bool current_is_fresh() const { return volumes_.back().empty(); }

    void start_volume() { volumes_.emplace_back(); }

    void append(const Bytes& bytes) {
        volumes_.back().insert(volumes_.back().end(), bytes.begin(), bytes.end());
    }

    std::size_t capacity_;
    std::vector<Bytes> volumes_;
};

void write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

std::vector<std::string> stored_rar_volume_names(const std::string& path, std::size_t count) {
    std::string base = path;
    if (base.size() >= 4 && base.compare(base.size() - 4, 4, ".rar") == 0)
        base.resize(base.size() - 4);
    const std::size_t width = std::to_string(count).size();
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, width - number.size(), '0');
        names.push_back(base + ".part" + number + ".rar");
    }
    return names;
}

void write_stored_rar(const std::string& path, const std::vector<StoredRarEntry>& entries,
                      std::size_t volume_size) {
    VolumeBuilder builder(volume_size);
    for (const StoredRarEntry& entry : entries)
        builder.add(entry);
    const bool solid =
        std::any_of(entries.begin(), entries.end(), [](const auto& entry) { return entry.solid; });
    const std::vector<Bytes> volumes = builder.finish(solid);
    if (volume_size == 0) {
        write_file(path, volumes.front());
        return;
    }
    const std::vector<std::string> names = stored_rar_volume_names(path, volumes.size());
    for (std::size_t i = 0; i < volumes.size(); ++i)
        write_file(names[i], volumes[i]);
}

} // namespace kelvox
