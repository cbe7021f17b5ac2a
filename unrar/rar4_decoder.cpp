#include "unrar/rar4_decoder.h"

#include "unrar/decoding_thread.h"
#include "unrar/rar4_format.h"
#include "unrar/rar4_image.h"
#include "unrar/rar4_rewrap.h"
#include "unrar/rar_error.h"
#include "unrar/stored_copy.h"

#if KELVOX_UNRAR_UNARR
#include "unrar/rar4_unarr_decoder.h"
#endif

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace kelvox::unrar {
namespace {

// The decoder asks for the image in blocks of this size; the image reads the volumes in the same.
constexpr std::size_t read_block = std::size_t{1} << 16;

// One libarchive reader over an image holding one entry, standing at that entry's data.
class ImageReader {
public:
    explicit ImageReader(Rar4Image& image)
        : image_(image), buffer_(read_block), archive_(archive_read_new()) {
        if (archive_ == nullptr)
            fail(ERAR_NO_MEMORY);
        archive_read_support_format_rar(archive_.get());
        struct archive_entry* header = nullptr;
        if (archive_read_open(archive_.get(), this, nullptr, read_callback, nullptr) != ARCHIVE_OK ||
            archive_read_next_header(archive_.get(), &header) < ARCHIVE_WARN)
            fail_decoding();
    }

    // Exactly `size` bytes, or false; the decoder's verdict on the CRC comes after the last byte and is
    // not waited for (the caller checks the CRC itself).
    bool read(unsigned char* out, std::size_t size) {
        return archive_read_data(archive_.get(), out, size) == static_cast<la_ssize_t>(size);
    }

    // libarchive reports a volume that could not be read as a failure of its own; the cause is ours.
    [[noreturn]] void fail_decoding() {
        const int read_error = image_.take_read_error();
        fail(read_error != 0 ? read_error : ERAR_BAD_DATA);
    }

private:
    static la_ssize_t read_callback(struct archive*, void* self, const void** block) {
        auto& reader = *static_cast<ImageReader*>(self);
        *block = reader.buffer_.data();
        return static_cast<la_ssize_t>(reader.image_.read(reader.buffer_.data(), reader.buffer_.size()));
    }

    struct Free {
        void operator()(struct archive* archive) const { archive_read_free(archive); }
    };

    Rar4Image& image_;
    std::vector<unsigned char> buffer_;
    std::unique_ptr<struct archive, Free> archive_;
};

} // namespace

bool rar4_libarchive_decodes(const Entry& entry) {
    return (entry.flags & flag_solid) == 0 && entry.unpack_version >= 29 && entry.unpack_version <= 36;
}

void decode_rar4(const VolumeSet& volumes, const Entry& entry, DataSink& sink) {
    if (!rar4_libarchive_decodes(entry))
        fail(ERAR_UNKNOWN_FORMAT);
    Rar4Image image(volumes);
    image.append(rar4_archive_prefix(false));
    image.append(rar4_joined_header(entry, true));
    for (const DataPart& part : entry.parts)
        image.append(part.volume, part.offset, part.size);
    if (entry.unpacked_size == 0)
        return;
    ImageReader reader(image);
    DecodingThread decoding(
        [&reader](unsigned char* out, std::size_t size) { return reader.read(out, size); }, image,
        entry.unpacked_size);
    if (!decoding.pass_on(sink))
        reader.fail_decoding();
}

std::string decode_rar4_comment(const VolumeSet& volumes, const StoredComment& comment) {
    Entry entry = comment.entry;
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
    std::vector<unsigned char> bytes = rar4_archive_prefix(false);
    const std::vector<unsigned char> header = rar4_joined_header(entry, true);
    bytes.insert(bytes.end(), header.begin(), header.end());
    bytes.insert(bytes.end(), packed.begin(), packed.end());
    const auto size = static_cast<std::size_t>(entry.unpacked_size);
    std::string text(size, '\0');
    if (rar4_libarchive_decodes(entry)) {
        Rar4Image image(volumes);
        image.append(std::move(bytes));
        ImageReader reader(image);
        if (!reader.read(reinterpret_cast<unsigned char*>(text.data()), size))
            fail(ERAR_BAD_DATA);
    } else {
#if KELVOX_UNRAR_UNARR
        text = decode_rar4_comment_unarr(std::move(bytes), size, !comment.inline_packed);
#else
        fail(ERAR_UNKNOWN_FORMAT);
#endif
    }
    // The inline form keeps only 16 bits of the CRC.
    const std::uint32_t crc = crc32_update(0, text.data(), text.size());
    if (comment.inline_packed ? (crc & 0xFFFF) != comment.inline_crc16 : crc != entry.crc)
        fail(ERAR_BAD_DATA);
    return text;
}

} // namespace kelvox::unrar
