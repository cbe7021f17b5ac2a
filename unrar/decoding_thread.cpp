#include "unrar/decoding_thread.h"

#include <algorithm>
#include <chrono>

namespace kelvox::unrar {
namespace {

// The longest the caller goes without hearing from the module while the decoder works.
constexpr std::chrono::milliseconds patience{10};
// Pieces decoded ahead of the one being written: a MiB.
constexpr std::size_t pieces_ahead = 4;

} // namespace

DecodingThread::DecodingThread(DecodeInto decode, Rar4Image& image, std::uint64_t size)
    : decode_(std::move(decode)), image_(image), size_(size), left_(size), thread_([this] { run(); }) {}

DecodingThread::~DecodingThread() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    image_.interrupt(true);
    changed_.notify_all();
    thread_.join();
    image_.interrupt(false);
}

bool DecodingThread::pass_on(DataSink& sink) {
    std::vector<unsigned char> piece;
    for (std::uint64_t done = 0; done < size_;) {
        switch (next(piece)) {
        case Next::piece:
            sink.write(piece.data(), piece.size());
            done += piece.size();
            break;
        case Next::nothing_yet:
            sink.keep_alive();
            break;
        case Next::failed:
            return false;
        }
    }
    return true;
}

// The next piece, in place of `piece`, whose buffer is taken back for a later one.
DecodingThread::Next DecodingThread::next(std::vector<unsigned char>& piece) {
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

void DecodingThread::run() {
    try {
        decode_ahead();
    } catch (...) {
        const std::lock_guard lock(mutex_);
        thrown_ = std::current_exception();
        failed_ = true;
    }
    changed_.notify_all();
}

void DecodingThread::decode_ahead() {
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
        buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(left_, output_piece)));
        const bool decoded = decode_(buffer.data(), buffer.size());
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

} // namespace kelvox::unrar
