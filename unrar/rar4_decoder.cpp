#include "unrar/rar4_decoder.h"

#include "unrar/block.h"
#include "unrar/rar4_format.h"
#include "unrar/rar4_rewrap.h"
#include "unrar/rar_error.h"
#include "unrar/stored_copy.h"

#include <unarr.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvox::unrar {
namespace {

constexpr std::size_t chunk = output_piece;
// The longest the caller goes without hearing from the module while the decoder works.
constexpr std::chrono::milliseconds patience{10};
// Pieces decoded ahead of the one being written: a MiB.
constexpr std::size_t pieces_ahead = 4;

std::uint64_t header_offset(const Entry& entry) {
    return entry.parts.front().offset - entry.raw_header.size();
}

// libunarr decodes as much as its window of 4 MiB holds before it hands over the first byte of it:
// tens of milliseconds for data that does not compress, more on a busy machine. So the decoding runs on
// a thread of its own, a few pieces ahead, while the caller's thread writes the pieces out and, when
// none is ready in time, lets the caller know the module is still at work: the caller's window never
// waits long, and a cancel is heard at once. Stopping interrupts the decoder's reads, so that the thread
// ends within a few kilobytes of input; the decoder is then of no further use.
class DecodingThread {
public:
    enum class Next { piece, nothing_yet, failed };

    DecodingThread(ar_archive* archive, Rar4Image& image, std::uint64_t size)
        : archive_(archive), image_(image), left_(size), thread_([this] { run(); }) {}

    ~DecodingThread() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        image_.interrupt(true);
        changed_.notify_all();
        thread_.join();
        image_.interrupt(false);
    }

    DecodingThread(const DecodingThread&) = delete;
    DecodingThread& operator=(const DecodingThread&) = delete;

    // The next piece, in place of `piece`, whose buffer is taken back for a later one. A failure other
    // than the decoder's own (no memory for a piece) is thrown here.
    Next next(std::vector<unsigned char>& piece) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, patience, [this] { return !ready_.empty() || failed_; }))
            return Next::nothing_yet;
        if (ready_.empty() && thrown_)
            std::rethrow_exception(thrown_);
        if (ready_.empty())
            return Next::failed;
        spare_.push_back(std::move(piece));
        piece = std::move(ready_.front());
        ready_.pop_front();
        lock.unlock();
        changed_.notify_all();
        return Next::piece;
    }

private:
    void run() {
        try {
            decode_ahead();
        } catch (...) {
            const std::lock_guard lock(mutex_);
            thrown_ = std::current_exception();
            failed_ = true;
        }
        changed_.notify_all();
    }

    void decode_ahead() {
        for (;;) {
            std::vector<unsigned char> buffer;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || ready_.size() < pieces_ahead; });
                if (stop_ || left_ == 0)
                    return;
                if (!spare_.empty()) {
                    buffer = std::move(spare_.back());
                    spare_.pop_back();
                }
            }
            buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(left_, chunk)));
            const bool decoded = ar_entry_uncompress(archive_, buffer.data(), buffer.size());
            {
                const std::lock_guard lock(mutex_);
                if (!decoded) {
                    failed_ = true;
                    return;
                }
                left_ -= buffer.size();
                ready_.push_back(std::move(buffer));
            }
            changed_.notify_all();
        }
    }

    ar_archive* archive_;
    Rar4Image& image_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<unsigned char>> ready_;
    std::vector<std::vector<unsigned char>> spare_;
    std::uint64_t left_; // not yet decoded
    bool failed_ = false;
    std::exception_ptr thrown_;
    bool stop_ = false;
    std::thread thread_; // last: it starts on the members above
};

} // namespace

Rar4Decoder::Rar4Decoder(ArchiveReader& reader) : reader_(reader) {}

// The decoder reads the image: it goes first.
Rar4Decoder::~Rar4Decoder() {
    close_decoder();
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

// libunarr reports a volume that could not be read as a failure of its own; the cause is ours.
void Rar4Decoder::fail_decoding() {
    const int read_error = image_ != nullptr ? image_->take_read_error() : 0;
    fail(read_error != 0 ? read_error : ERAR_BAD_DATA);
}

void Rar4Decoder::open_decoder() {
    if (image_ == nullptr) {
        const VolumeSet& volumes = reader_.volumes();
        const std::uint64_t start = reader_.signature_offset();
        image_ = std::make_unique<Rar4Image>(volumes);
        image_->append(0, start, volumes.size(0) - start);
    }
    stream_ = image_->open_stream();
    archive_ = ar_open_rar_archive(stream_);
    if (archive_ == nullptr)
        fail_decoding();
}

void Rar4Decoder::start_image() {
    close_decoder();
    joined_.clear();
    image_ = std::make_unique<Rar4Image>(reader_.volumes());
    image_->append(rar4_archive_prefix(reader_.solid()));
}

std::int64_t Rar4Decoder::join(const Entry& entry) {
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

std::int64_t Rar4Decoder::offset_of(const Entry& entry) {
    if (!reader_.multi_volume())
        return static_cast<std::int64_t>(header_offset(entry) - reader_.signature_offset());
    return join(entry);
}

void Rar4Decoder::keep_for_solid(const Entry& entry) {
    if (reader_.multi_volume() && reader_.solid())
        join(entry);
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
        fail_decoding();
}

void Rar4Decoder::uncompress_into(std::uint64_t size, DataSink& sink) {
    if (size == 0)
        return;
    DecodingThread decoding(archive_, *image_, size);
    std::vector<unsigned char> piece;
    for (std::uint64_t done = 0; done < size;) {
        switch (decoding.next(piece)) {
        case DecodingThread::Next::piece:
            sink.write(piece.data(), piece.size());
            done += piece.size();
            break;
        case DecodingThread::Next::nothing_yet:
            sink.keep_alive();
            break;
        case DecodingThread::Next::failed:
            fail_decoding();
        }
    }
}

void Rar4Decoder::decode(const Entry& entry, DataSink& sink) {
    if (entry.unpack_version < 20 || entry.unpack_version > 36)
        fail(ERAR_UNKNOWN_FORMAT);
    const std::int64_t offset = offset_of(entry);
    seek_entry(offset);
    if (ar_entry_get_size(archive_) != entry.unpacked_size)
        fail(ERAR_BAD_DATA);
    try {
        uncompress_into(entry.unpacked_size, sink);
    } catch (...) {
        close_decoder(); // stopped midway: the next entry is looked for afresh
        throw;
    }
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
