// On Linux, the older format's compressed entries that libarchive does not decode (rar4_decoder.h): the
// entries of a solid run and RAR 2.0 compression, decoded by libunarr from an image of a one-volume
// archive (rar4_image.h): the first volume itself when there is only one; otherwise the entries of a
// volume set re-wrapped one after the other, their data read from the volumes as the decoder goes, so
// that a solid run keeps its decoder state from one entry to the next. Windows has no libunarr.
#pragma once

#include "unrar/archive_reader.h"
#include "unrar/data_sink.h"
#include "unrar/rar4_image.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct ar_stream_s;
struct ar_archive_s;

namespace kelvox::unrar {

class Rar4UnarrDecoder {
public:
    explicit Rar4UnarrDecoder(ArchiveReader& reader);
    ~Rar4UnarrDecoder();
    Rar4UnarrDecoder(const Rar4UnarrDecoder&) = delete;
    Rar4UnarrDecoder& operator=(const Rar4UnarrDecoder&) = delete;

    // `entry` must be complete (all parts found).
    void decode(const Entry& entry, DataSink& sink);
    // An entry of a solid volume set that this decoder does not decode (skipped, or decoded by
    // libarchive) is still needed by the entries after it.
    void keep_for_solid(const Entry& entry);

private:
    std::int64_t offset_of(const Entry& entry);
    std::int64_t join(const Entry& entry);
    void start_image();
    void open_decoder();
    void close_decoder();
    void seek_entry(std::int64_t offset);
    [[noreturn]] void fail_decoding();

    ArchiveReader& reader_;
    std::unique_ptr<Rar4Image> image_;
    std::map<std::size_t, std::int64_t> joined_; // entry ordinal -> offset in the image of a volume set

    ar_stream_s* stream_ = nullptr;
    ar_archive_s* archive_ = nullptr;
    bool parsed_ = false;
};

// The text of a comment of `size` bytes packed in a one-volume archive image of one entry; ERAR_BAD_DATA
// when the decoder fails. The decoder checks the CRC in the entry's header only when `header_crc_whole`.
std::string decode_rar4_comment_unarr(std::vector<unsigned char> image, std::size_t size,
                                      bool header_crc_whole);

} // namespace kelvox::unrar
