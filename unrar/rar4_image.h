// The one-volume archive that the older format's decoders (libarchive and libunarr, which read only
// whole, unsplit archives) are given, without ever being written anywhere: pieces made here (the marker
// and main header, each entry's re-wrapped header, see rar4_rewrap.h) and ranges of the volumes (the
// entries' packed data), which are read only when the decoder gets to them. So a split file of any size
// is decoded in the same small pieces as a one-volume one, and a solid run of entries can go on growing
// while the decoder keeps its state. A one-volume archive may be one range: its file from the signature on.
#pragma once

#include "unrar/volume_set.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace kelvox::unrar {

class Rar4Image {
public:
    explicit Rar4Image(const VolumeSet& volumes) : volumes_(volumes) {}
    Rar4Image(const Rar4Image&) = delete;
    Rar4Image& operator=(const Rar4Image&) = delete;

    void append(std::vector<unsigned char> bytes);
    // A range reaching past the end of its volume is ERAR_BAD_DATA, before anything is read.
    void append(std::size_t volume, std::uint64_t offset, std::uint64_t size);
    std::uint64_t size() const { return size_; }

    // What the decoders' stream callbacks do, at the image's read position. A read comes back short
    // only at the end of the image, after a failure or while interrupted; it never throws, as the
    // decoders are C.
    std::size_t read(void* buffer, std::size_t count);
    bool seek(std::int64_t offset, int origin);
    std::int64_t tell() const { return static_cast<std::int64_t>(position_); }

    // The decoder sees a volume that cannot be read as data cut short; the cause is kept here so that
    // it is reported as a read error rather than as bad data. 0 when there was none; cleared by taking.
    int take_read_error();

    // From another thread: the decoder's reads come back empty until cleared, so that it gives up
    // within a few kilobytes wherever it is.
    void interrupt(bool on) { interrupted_ = on; }

private:
    struct Piece {
        std::uint64_t start = 0; // in the image
        std::uint64_t size = 0;
        std::size_t volume = 0;           // a range: where it lies
        std::uint64_t offset = 0;         //
        std::vector<unsigned char> bytes; // a piece made here
    };

    std::size_t read_cached(unsigned char* out, std::size_t count);
    std::size_t read_uncached(std::uint64_t at, unsigned char* out, std::size_t count) const;

    const VolumeSet& volumes_;
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    // The decoder asks for a few bytes at a time; the volumes are read in larger pieces, ahead of it.
    std::vector<unsigned char> cache_;
    std::uint64_t cache_start_ = 0;
    int read_error_ = 0;
    std::atomic<bool> interrupted_{false};
};

} // namespace kelvox::unrar
