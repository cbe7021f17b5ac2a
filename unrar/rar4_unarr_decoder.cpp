#include "unrar/rar4_unarr_decoder.h"

#include "unrar/block.h"
#include "unrar/decoding_thread.h"
#include "unrar/rar4_format.h"
#include "unrar/rar4_rewrap.h"
#include "unrar/rar_error.h"

#include <unarr.h>

#include <cstdlib>

namespace kelvox::unrar {
namespace {

std::uint64_t header_offset(const Entry& entry) {
    return entry.parts.front().offset - entry.raw_header.size();
}

// libunarr 1.0 opens streams only over a named file or a block of memory, yet reads every stream
// through the same five words, its four callbacks and their argument, and frees them with free() in
// ar_close; a stream of our own is those five words. unrar/CMakeLists.txt checks the installed
// library against this layout when the build is configured.
struct UnarrStream {
    void (*close)(void* data);
    std::size_t (*read)(void* data, void* buffer, std::size_t count);
    bool (*seek)(void* data, std::int64_t offset, int origin);
    std::int64_t (*tell)(void* data);
    void* data;
};

ar_stream* open_stream(Rar4Image& image) {
    auto* stream = static_cast<UnarrStream*>(std::malloc(sizeof(UnarrStream)));
    if (stream == nullptr)
        fail(ERAR_NO_MEMORY);
    *stream = {[](void*) {},
               [](void* self, void* buffer, std::size_t count) {
                   return static_cast<Rar4Image*>(self)->read(buffer, count);
               },
               [](void* self, std::int64_t offset, int origin) {
                   return static_cast<Rar4Image*>(self)->seek(offset, origin);
               },
               [](void* self) { return static_cast<Rar4Image*>(self)->tell(); }, &image};
    return reinterpret_cast<ar_stream*>(stream);
}

} // namespace

Rar4UnarrDecoder::Rar4UnarrDecoder(ArchiveReader& reader) : reader_(reader) {}

// The decoder reads the image: it goes first.
Rar4UnarrDecoder::~Rar4UnarrDecoder() {
    close_decoder();
}

void Rar4UnarrDecoder::close_decoder() {
    if (archive_ != nullptr)
        ar_close_archive(archive_);
    if (stream_ != nullptr)
        ar_close(stream_);
    archive_ = nullptr;
    stream_ = nullptr;
    parsed_ = false;
}

// libunarr reports a volume that could not be read as a failure of its own; the cause is ours.
void Rar4UnarrDecoder::fail_decoding() {
    const int read_error = image_ != nullptr ? image_->take_read_error() : 0;
    fail(read_error != 0 ? read_error : ERAR_BAD_DATA);
}

void Rar4UnarrDecoder::open_decoder() {
    if (image_ == nullptr) {
        const VolumeSet& volumes = reader_.volumes();
        const std::uint64_t start = reader_.signature_offset();
        image_ = std::make_unique<Rar4Image>(volumes);
        image_->append(0, start, volumes.size(0) - start);
    }
    stream_ = open_stream(*image_);
    archive_ = ar_open_rar_archive(stream_);
    if (archive_ == nullptr)
        fail_decoding();
}

void Rar4UnarrDecoder::start_image() {
    close_decoder();
    joined_.clear();
    image_ = std::make_unique<Rar4Image>(reader_.volumes());
    image_->append(rar4_archive_prefix(reader_.solid()));
}

std::int64_t Rar4UnarrDecoder::join(const Entry& entry) {
    const auto known = joined_.find(entry.ordinal);
    if (known != joined_.end())
        return known->second;
    for (const DataPart& part : entry.parts)
        if (!fits_in(part.offset, part.size, reader_.volumes().size(part.volume)))
            fail(ERAR_BAD_DATA); // checked first, so that a solid run's image never holds half an entry
    if (image_ == nullptr || (entry.flags & flag_solid) == 0)
        start_image();
    const auto offset = static_cast<std::int64_t>(image_->size());
    image_->append(rar4_joined_header(entry));
    for (const DataPart& part : entry.parts)
        image_->append(part.volume, part.offset, part.size);
    joined_[entry.ordinal] = offset;
    return offset;
}

std::int64_t Rar4UnarrDecoder::offset_of(const Entry& entry) {
    if (!reader_.multi_volume())
        return static_cast<std::int64_t>(header_offset(entry) - reader_.signature_offset());
    return join(entry);
}

void Rar4UnarrDecoder::keep_for_solid(const Entry& entry) {
    if (reader_.multi_volume() && reader_.solid())
        join(entry);
}

// Entries are parsed in order where possible: the decoder keeps a solid run's state only for an entry
// that directly follows the one it decoded last.
void Rar4UnarrDecoder::seek_entry(std::int64_t offset) {
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
        fail_decoding();
}

void Rar4UnarrDecoder::decode(const Entry& entry, DataSink& sink) {
    if (entry.unpack_version < 20 || entry.unpack_version > 36)
        fail(ERAR_UNKNOWN_FORMAT);
    const std::int64_t offset = offset_of(entry);
    seek_entry(offset);
    if (ar_entry_get_size(archive_) != entry.unpacked_size)
        fail(ERAR_BAD_DATA);
    try {
        if (entry.unpacked_size > 0) {
            DecodingThread decoding(
                [this](unsigned char* buffer, std::size_t size) {
                    return ar_entry_uncompress(archive_, buffer, size);
                },
                *image_, entry.unpacked_size);
            if (!decoding.pass_on(sink))
                fail_decoding();
        }
    } catch (...) {
        close_decoder(); // stopped midway: the next entry is looked for afresh
        throw;
    }
    // Reading on from here keeps the solid state; a re-read of this entry would need a fresh parse.
}

std::string decode_rar4_comment_unarr(std::vector<unsigned char> image, std::size_t size,
                                      bool header_crc_whole) {
    ar_stream* stream = ar_open_memory(image.data(), image.size());
    ar_archive* archive = stream != nullptr ? ar_open_rar_archive(stream) : nullptr;
    std::string text(size, '\0');
    bool decoded = archive != nullptr && ar_parse_entry(archive);
    // A header without the whole CRC fails the decoder's own check, after the text is out.
    if (decoded && !ar_entry_uncompress(archive, text.data(), text.size()) && header_crc_whole)
        decoded = false;
    if (archive != nullptr)
        ar_close_archive(archive);
    if (stream != nullptr)
        ar_close(stream);
    if (!decoded)
        fail(ERAR_BAD_DATA);
    return text;
}

} // namespace kelvox::unrar
