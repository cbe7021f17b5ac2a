// Compressed entries of the newer format, solid and multi-volume ones included, decoded by libarchive
// reading the volumes one after another as a single stream. One reading session serves all entries in
// order, so a solid archive is decoded once from the start.
#pragma once

#include "unrar/archive_reader.h"
#include "unrar/data_sink.h"

#include <vector>

struct archive;

namespace kelvox::unrar {

class Rar5Decoder {
public:
    explicit Rar5Decoder(ArchiveReader& reader);
    ~Rar5Decoder();
    Rar5Decoder(const Rar5Decoder&) = delete;
    Rar5Decoder& operator=(const Rar5Decoder&) = delete;

    // `entry` must be complete, so every volume its data needs has been found already.
    void decode(const Entry& entry, DataSink& sink);

    // The stream callbacks of libarchive.
    long read_next(const void** block);
    std::int64_t skip_ahead(std::int64_t request);

private:
    void open_session();
    void close_session();
    void move_to(std::size_t ordinal);

    ArchiveReader& reader_;
    struct archive* archive_ = nullptr;
    std::size_t next_ordinal_ = 0; // the entry the next header read returns
    std::size_t volume_ = 0;
    std::uint64_t offset_ = 0;
    std::vector<unsigned char> buffer_;
    int stream_error_ = 0; // an ERAR_* code raised inside a callback
};

} // namespace kelvox::unrar
