// Compressed entries of the older format (RAR 2.x to 4.x, solid ones included), decoded by libunarr.
// A one-volume archive is handed over as a memory map of the file; the entries of a volume set are
// first joined into a temporary one-volume copy that grows entry by entry, so that a solid run keeps
// its decoder state from one entry to the next.
#pragma once

#include "unrar/archive_reader.h"
#include "unrar/data_sink.h"

#include <map>
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
    std::int64_t spool(const Entry& entry);
    void reset_spool();
    void open_decoder();
    void close_decoder();
    void seek_entry(std::int64_t offset);

    ArchiveReader& reader_;
    bool mapped_;
    void* map_ = nullptr;
    std::size_t map_size_ = 0;

    int spool_fd_ = -1;
    std::string spool_path_;
    std::uint64_t spool_size_ = 0;
    std::map<std::size_t, std::int64_t> spooled_; // entry ordinal -> offset in the copy

    ar_stream_s* stream_ = nullptr;
    ar_archive_s* archive_ = nullptr;
    bool parsed_ = false;
};

// The text of a comment packed with the older format's methods; ERAR_* on failure.
std::string decode_rar4_comment(const VolumeSet& volumes, const struct StoredComment& comment);

} // namespace kelvox::unrar
