#include "unrar/rar4_image.h"

#include "unrar/block.h"
#include "unrar/rar_error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace kelvox::unrar {
namespace {

// Offsets in the image are the decoder's signed 64-bit ones.
constexpr std::uint64_t largest_image = std::numeric_limits<std::int64_t>::max();

// A volume on a disc is read a piece at a time: large enough to cost few reads, small enough that
// one read never holds up the caller's window.
constexpr std::size_t cache_size = std::size_t{1} << 16;

} // namespace

void Rar4Image::append(std::vector<unsigned char> bytes) {
    Piece piece;
    piece.start = size_;
    piece.size = bytes.size();
    piece.bytes = std::move(bytes);
    size_ += piece.size;
    pieces_.push_back(std::move(piece));
}

void Rar4Image::append(std::size_t volume, std::uint64_t offset, std::uint64_t size) {
    if (!fits_in(offset, size, volumes_.size(volume)) || size > largest_image - size_)
        fail(ERAR_BAD_DATA);
    Piece piece;
    piece.start = size_;
    piece.size = size;
    piece.volume = volume;
    piece.offset = offset;
    size_ += size;
    pieces_.push_back(std::move(piece));
}

int Rar4Image::take_read_error() {
    return std::exchange(read_error_, 0);
}

std::size_t Rar4Image::read(void* buffer, std::size_t count) {
    if (interrupted_)
        return 0;
    try {
        return read_cached(static_cast<unsigned char*>(buffer), count);
    } catch (const RarError& error) {
        read_error_ = error.code;
    } catch (...) {
        read_error_ = ERAR_NO_MEMORY;
    }
    return 0;
}

bool Rar4Image::seek(std::int64_t offset, int origin) {
    if (origin != SEEK_SET && origin != SEEK_CUR && origin != SEEK_END)
        return false;
    const auto base = static_cast<std::int64_t>(origin == SEEK_SET   ? 0
                                                : origin == SEEK_CUR ? position_
                                                                     : size_);
    if (offset < -base || (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset))
        return false;
    position_ = static_cast<std::uint64_t>(base + offset);
    return true;
}

std::size_t Rar4Image::read_cached(unsigned char* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        if (position_ < cache_start_ || position_ >= cache_start_ + cache_.size()) {
            cache_.resize(cache_size);
            cache_start_ = position_;
            cache_.resize(read_uncached(position_, cache_.data(), cache_size));
            if (cache_.empty())
                break;
        }
        const auto within = static_cast<std::size_t>(position_ - cache_start_);
        const std::size_t step = std::min(count - done, cache_.size() - within);
        std::memcpy(out + done, cache_.data() + within, step);
        done += step;
        position_ += step;
    }
    return done;
}

std::size_t Rar4Image::read_uncached(std::uint64_t at, unsigned char* out, std::size_t count) const {
    auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), at,
                                  [](std::uint64_t offset, const Piece& p) { return offset < p.start; });
    if (piece == pieces_.begin())
        return 0;
    --piece;
    std::size_t done = 0;
    for (; piece != pieces_.end() && done < count; ++piece) {
        const std::uint64_t within = at + done - piece->start;
        if (within >= piece->size)
            continue; // an empty piece
        const auto step =
            static_cast<std::size_t>(std::min<std::uint64_t>(count - done, piece->size - within));
        if (!piece->bytes.empty())
            std::memcpy(out + done, piece->bytes.data() + within, step);
        else
            volumes_.read_exact(piece->volume, piece->offset + within, out + done, step);
        done += step;
    }
    return done;
}

} // namespace kelvox::unrar
