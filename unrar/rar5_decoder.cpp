#include "unrar/rar5_decoder.h"

#include "unrar/rar_error.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace kelvox::unrar {
namespace {

constexpr std::size_t block_size = 1 << 20;

la_ssize_t read_callback(struct archive*, void* self, const void** block) {
    return static_cast<Rar5Decoder*>(self)->read_next(block);
}

la_int64_t skip_callback(struct archive*, void* self, la_int64_t request) {
    return static_cast<Rar5Decoder*>(self)->skip_ahead(request);
}

} // namespace

Rar5Decoder::Rar5Decoder(ArchiveReader& reader) : reader_(reader), buffer_(block_size) {}

Rar5Decoder::~Rar5Decoder() {
    close_session();
}

void Rar5Decoder::close_session() {
    if (archive_ != nullptr)
        archive_read_free(archive_);
    archive_ = nullptr;
}

void Rar5Decoder::open_session() {
    close_session();
    next_ordinal_ = 0;
    volume_ = 0;
    offset_ = reader_.signature_offset();
    stream_error_ = 0;
    archive_ = archive_read_new();
    if (archive_ == nullptr)
        fail(ERAR_NO_MEMORY);
    archive_read_support_format_rar5(archive_);
    archive_read_set_callback_data(archive_, this);
    archive_read_set_read_callback(archive_, read_callback);
    archive_read_set_skip_callback(archive_, skip_callback);
    if (archive_read_open1(archive_) != ARCHIVE_OK) {
        close_session();
        fail(ERAR_BAD_DATA);
    }
}

// Volumes follow one another; libarchive finds the next volume's signature after an end block itself.
// Reading past the last volume found is the end of the stream, never a question to the caller: the
// entry being decoded has had all its volumes found before.
long Rar5Decoder::read_next(const void** block) {
    try {
        VolumeSet& volumes = reader_.volumes();
        while (offset_ >= volumes.size(volume_)) {
            if (!volumes.ensure(volume_ + 1, false))
                return 0;
            ++volume_;
            offset_ = 0;
        }
        const std::size_t got = volumes.read_at(volume_, offset_, buffer_.data(), buffer_.size());
        offset_ += got;
        *block = buffer_.data();
        return static_cast<long>(got);
    } catch (const RarError& error) {
        stream_error_ = error.code;
        return -1;
    }
}

std::int64_t Rar5Decoder::skip_ahead(std::int64_t request) {
    const VolumeSet& volumes = reader_.volumes();
    const std::uint64_t left = volumes.size(volume_) > offset_ ? volumes.size(volume_) - offset_ : 0;
    const auto step = static_cast<std::uint64_t>(std::max<std::int64_t>(request, 0));
    const std::uint64_t done = std::min(left, step);
    offset_ += done;
    return static_cast<std::int64_t>(done);
}

void Rar5Decoder::move_to(std::size_t ordinal) {
    if (archive_ == nullptr || next_ordinal_ > ordinal)
        open_session();
    while (next_ordinal_ <= ordinal) {
        struct archive_entry* header = nullptr;
        const int result = archive_read_next_header(archive_, &header);
        if (result < ARCHIVE_WARN) {
            close_session();
            fail(stream_error_ != 0 ? stream_error_ : ERAR_BAD_DATA);
        }
        ++next_ordinal_;
        if (next_ordinal_ <= ordinal && archive_read_data_skip(archive_) < ARCHIVE_WARN) {
            close_session();
            fail(stream_error_ != 0 ? stream_error_ : ERAR_BAD_DATA);
        }
    }
}

void Rar5Decoder::decode(const Entry& entry, DataSink& sink) {
    if (entry.algorithm_version != 0)
        fail(ERAR_UNKNOWN_FORMAT);
    move_to(entry.ordinal);
    std::uint64_t written = 0;
    static const unsigned char zeros[4096] = {};
    for (;;) {
        const void* data = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int result = archive_read_data_block(archive_, &data, &size, &offset);
        if (result == ARCHIVE_EOF)
            break;
        if (result < ARCHIVE_WARN) {
            close_session();
            fail(stream_error_ != 0 ? stream_error_ : ERAR_BAD_DATA);
        }
        // Holes in the output come back as offsets; fill them so the file is whole.
        while (written < static_cast<std::uint64_t>(offset)) {
            const auto gap =
                static_cast<std::size_t>(std::min<std::uint64_t>(sizeof zeros, offset - written));
            sink.write(zeros, gap);
            written += gap;
        }
        sink.write(static_cast<const unsigned char*>(data), size);
        written += size;
    }
}

} // namespace kelvox::unrar
