// The older format's decoders hand over their output in stretches that can take tens of milliseconds
// (libunarr fills its window of 4 MiB before the first byte of it; libarchive runs a filter over a
// whole block), more on a busy machine. So the decoding runs on a thread of its own, a few pieces ahead,
// while the caller's thread writes the pieces out and, when none is ready in time, lets the caller know
// the module is still at work: the caller's window never waits long, and a cancel is heard at once.
// Stopping interrupts the decoder's reads from the image, so the thread ends within a few kilobytes of
// input; the decoder is then of no further use.
#pragma once

#include "unrar/data_sink.h"
#include "unrar/rar4_image.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvox::unrar {

// Fills the whole buffer with the next decoded bytes; false when the decoder fails.
using DecodeInto = std::function<bool(unsigned char* buffer, std::size_t size)>;

class DecodingThread {
public:
    DecodingThread(DecodeInto decode, Rar4Image& image, std::uint64_t size);
    ~DecodingThread();
    DecodingThread(const DecodingThread&) = delete;
    DecodingThread& operator=(const DecodingThread&) = delete;

    // Passes `size` decoded bytes on to `sink` in pieces, telling it it is kept alive while none is ready.
    // Returns false when the decoder failed; a failure other than the decoder's own is thrown.
    bool pass_on(DataSink& sink);

private:
    enum class Next { piece, nothing_yet, failed };

    Next next(std::vector<unsigned char>& piece);
    void run();
    void decode_ahead();

    DecodeInto decode_;
    Rar4Image& image_;
    std::uint64_t size_;
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

} // namespace kelvox::unrar
