#include "unrar/rar4_decoder.h"

#include "unrar/rar4_format.h"
#include "unrar/rar4_rewrap.h"
#include "unrar/rar_error.h"
#include "unrar/safe_writer.h"
#include "unrar/stored_copy.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unarr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kelvox::unrar {
namespace {

constexpr std::size_t chunk = output_piece;

class FdSink : public DataSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    void write(const unsigned char* data, std::size_t size) override {
        write_fully(fd_, data, size);
        written += size;
    }
    std::uint64_t written = 0;

private:
    int fd_;
};

std::uint64_t header_offset(const Entry& entry) {
    return entry.parts.front().offset - entry.raw_header.size();
}

void uncompress_into(ar_archive* archive, std::uint64_t size, DataSink& sink) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(size, chunk)));
    while (size > 0) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(size, chunk));
        if (!ar_entry_uncompress(archive, buffer.data(), count))
            fail(ERAR_BAD_DATA);
        sink.write(buffer.data(), count);
        size -= count;
    }
}

} // namespace

Rar4Decoder::Rar4Decoder(ArchiveReader& reader) : reader_(reader), mapped_(!reader.multi_volume()) {}

Rar4Decoder::~Rar4Decoder() {
    close_decoder();
    if (map_ != nullptr)
        ::munmap(map_, map_size_);
    if (spool_fd_ >= 0) {
        ::close(spool_fd_);
        ::unlink(spool_path_.c_str());
    }
}

void Rar4Decoder::close_decoder() {
    if (archive_ != nullptr)
        ar_close_archive(archive_);
    if (stream_ != nullptr)
        ar_close(stream_);
    archive_ = nullptr;
    stream_ = nullptr;
    parsed_ = false;
}

void Rar4Decoder::open_decoder() {
    if (mapped_) {
        const VolumeSet& volumes = reader_.volumes();
        map_size_ = static_cast<std::size_t>(volumes.size(0));
        map_ = ::mmap(nullptr, map_size_, PROT_READ, MAP_PRIVATE, volumes.descriptor(0), 0);
        if (map_ == MAP_FAILED) {
            map_ = nullptr;
            fail(ERAR_NO_MEMORY);
        }
        const std::uint64_t start = reader_.signature_offset();
        stream_ = ar_open_memory(static_cast<const unsigned char*>(map_) + start, map_size_ - start);
    } else {
        stream_ = ar_open_file(spool_path_.c_str());
    }
    if (stream_ == nullptr)
        fail(ERAR_NO_MEMORY);
    archive_ = ar_open_rar_archive(stream_);
    if (archive_ == nullptr)
        fail(ERAR_BAD_DATA);
}

void Rar4Decoder::reset_spool() {
    close_decoder();
    if (spool_fd_ >= 0) {
        ::close(spool_fd_);
        ::unlink(spool_path_.c_str());
        spool_fd_ = -1;
    }
    spooled_.clear();
    const char* directory = std::getenv("TMPDIR");
    std::string pattern =
        std::string(directory != nullptr && *directory ? directory : "/tmp") + "/kelvox-unrar-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    spool_fd_ = ::mkstemp(name.data());
    if (spool_fd_ < 0)
        fail(ERAR_ECREATE);
    spool_path_ = name.data();
    const std::vector<unsigned char> prefix = rar4_archive_prefix(reader_.solid());
    FdSink out(spool_fd_);
    out.write(prefix.data(), prefix.size());
    spool_size_ = prefix.size();
}

std::int64_t Rar4Decoder::spool(const Entry& entry) {
    const auto known = spooled_.find(entry.ordinal);
    if (known != spooled_.end())
        return known->second;
    if (spool_fd_ < 0 || (entry.flags & flag_solid) == 0)
        reset_spool();
    const std::vector<unsigned char> header = rar4_joined_header(entry);
    FdSink out(spool_fd_);
    out.write(header.data(), header.size());
    copy_parts(reader_.volumes(), entry, out);
    const auto offset = static_cast<std::int64_t>(spool_size_);
    spool_size_ += out.written;
    spooled_[entry.ordinal] = offset;
    return offset;
}

std::int64_t Rar4Decoder::offset_of(const Entry& entry) {
    if (mapped_)
        return static_cast<std::int64_t>(header_offset(entry) - reader_.signature_offset());
    return spool(entry);
}

void Rar4Decoder::keep_for_solid(const Entry& entry) {
    if (!mapped_ && reader_.solid())
        spool(entry);
}

// Entries are parsed in order where possible: the decoder keeps a solid run's state only for an entry
// that directly follows the one it decoded last.
void Rar4Decoder::seek_entry(std::int64_t offset) {
    if (archive_ == nullptr)
        open_decoder();
    if (!parsed_ || ar_entry_get_offset(archive_) < offset) {
        while (ar_parse_entry(archive_)) {
            parsed_ = true;
            if (ar_entry_get_offset(archive_) >= offset)
                break;
        }
    }
    if (parsed_ && ar_entry_get_offset(archive_) == offset)
        return;
    parsed_ = ar_parse_entry_at(archive_, offset);
    if (!parsed_ || ar_entry_get_offset(archive_) != offset)
        fail(ERAR_BAD_DATA);
}

void Rar4Decoder::decode(const Entry& entry, DataSink& sink) {
    if (entry.unpack_version < 20 || entry.unpack_version > 36)
        fail(ERAR_UNKNOWN_FORMAT);
    const std::int64_t offset = offset_of(entry);
    seek_entry(offset);
    if (ar_entry_get_size(archive_) != entry.unpacked_size)
        fail(ERAR_BAD_DATA);
    uncompress_into(archive_, entry.unpacked_size, sink);
    // Reading on from here keeps the solid state; a re-read of this entry would need a fresh parse.
}

std::string decode_rar4_comment(const VolumeSet& volumes, const StoredComment& comment) {
    Entry entry = comment.entry;
    std::vector<unsigned char> image = rar4_archive_prefix(false);
    std::vector<unsigned char> packed;
    if (comment.inline_packed) {
        packed.assign(comment.inline_bytes.begin(), comment.inline_bytes.end());
        entry.raw_header.assign(32, 0);
        entry.raw_header[2] = rar4::type_file;
        entry.raw_header[3] = 0x00;
        entry.raw_header[4] = 0x80;
        entry.raw_header[5] = 32;
        entry.raw_header[11] = static_cast<unsigned char>(entry.unpacked_size & 0xFF);
        entry.raw_header[12] = static_cast<unsigned char>((entry.unpacked_size >> 8) & 0xFF);
        entry.raw_header[24] = static_cast<unsigned char>(entry.unpack_version);
        entry.raw_header[25] = static_cast<unsigned char>(entry.method);
        entry.packed_size = packed.size();
    } else {
        StringSink data;
        copy_parts(volumes, entry, data);
        packed.assign(data.text.begin(), data.text.end());
    }
    if (entry.method == method_stored)
        return std::string(packed.begin(), packed.end());
    if (entry.unpack_version < 20 || entry.unpack_version > 36)
        fail(ERAR_UNKNOWN_FORMAT);
    const std::vector<unsigned char> header = rar4_joined_header(entry);
    image.insert(image.end(), header.begin(), header.end());
    image.insert(image.end(), packed.begin(), packed.end());
    ar_stream* stream = ar_open_memory(image.data(), image.size());
    ar_archive* archive = stream != nullptr ? ar_open_rar_archive(stream) : nullptr;
    std::string text(static_cast<std::size_t>(entry.unpacked_size), '\0');
    bool decoded = archive != nullptr && ar_parse_entry(archive) &&
                   ar_entry_uncompress(archive, text.data(), text.size());
    if (comment.inline_packed && archive != nullptr) {
        // The inline form keeps only 16 bits of the CRC, so the decoder's own full check cannot pass.
        decoded = (crc32_update(0, text.data(), text.size()) & 0xFFFF) == comment.inline_crc16;
    }
    if (archive != nullptr)
        ar_close_archive(archive);
    if (stream != nullptr)
        ar_close(stream);
    if (!decoded)
        fail(ERAR_BAD_DATA);
    return text;
}

} // namespace kelvox::unrar
