// Compressed entries of the older format (RAR 2.x to 4.x, solid ones included), decoded by libunarr
// from an image of a one-volume archive (rar4_image.h): the first volume itself when there is only
// one; otherwise the entries of a volume set re-wrapped one after the other, their data read from the
// volumes as the decoder goes, so that a solid run keeps its decoder state from one entry to the next.
#pragma once

#include "unrar/archive_reader.h"
#include "unrar/data_sink.h"
#include "unrar/rar4_image.h"

#include <map>
#include <memory>
#include <string>

struct ar_stream_s;
struct ar_archive_s;

namespace kelvox::unrar {

class Rar4Decoder {
public:
    explicit Rar4Decoder(ArchiveReader& reader);
    ~Rar4Decoder();
    Rar4Decoder(const Rar4Decoder&) = delete;
    Rar4Decoder& operator=(const Rar4Decoder&) = delete;

    // `entry` must be complete (all parts found).
    void decode(const Entry& entry, DataSink& sink);
    // An entry skipped in a solid volume set is still needed by the entries after it.
    void keep_for_solid(const Entry& entry);

private:
    std::int64_t offset_of(const Entry& entry);
    std::int64_t join(const Entry& entry);
    void start_image();
    void open_decoder();
    void close_decoder();
    void seek_entry(std::int64_t offset);
    void uncompress_into(std::uint64_t size, DataSink& sink);
    [[noreturn]] void fail_decoding();

    ArchiveReader& reader_;
    std::unique_ptr<Rar4Image> image_;
    std::map<std::size_t, std::int64_t> joined_; // entry ordinal -> offset in the image of a volume set

    ar_stream_s* stream_ = nullptr;
    ar_archive_s* archive_ = nullptr;
    bool parsed_ = false;
};

// The text of a comment packed with the older format's methods; ERAR_* on failure.
std::string decode_rar4_comment(const VolumeSet& volumes, const struct StoredComment& comment);

} // namespace kelvox::unrar
