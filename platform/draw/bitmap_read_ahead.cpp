#include "platform/bitmap_read_ahead.h"

#include "platform/bitmap.h"
#include "platform/disc/disc_root.h"
#include "platform/disc_file.h"
#include "platform/draw/bitmap_file.h"

#include <QThread>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>

namespace kelvox {

namespace {

struct ReadFile {
    explicit ReadFile(const QString& file) : name(file) {}
    QString name;
    bool claimed = false; // a worker has it
    bool taken = false;
    std::optional<BitmapFileData> data; // read and checked
    std::exception_ptr error;           // or what reading it raised
    bool done() const { return data.has_value() || error != nullptr; }
};

} // namespace

struct BitmapReadAhead::Files {
    QString root;
    std::vector<ReadFile> files;
    std::mutex mutex;
    std::condition_variable read;

    // A worker's loop: the next file nobody has claimed, until there is none.
    void work() {
        for (;;) {
            ReadFile* next = nullptr;
            {
                const std::lock_guard lock(mutex);
                for (ReadFile& file : files)
                    if (!file.claimed) {
                        file.claimed = true;
                        next = &file;
                        break;
                    }
            }
            if (next == nullptr)
                return;
            std::optional<BitmapFileData> data;
            std::exception_ptr error;
            try {
                data = check_bitmap_file(read_disc_file_in_root(root, next->name, kBitmapFileCap));
            } catch (...) {
                error = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                next->data = std::move(data);
                next->error = error;
            }
            read.notify_all();
        }
    }
};

BitmapReadAhead::BitmapReadAhead(const QString& root, const QStringList& files, int workers)
    : files_(std::make_unique<Files>()) {
    // The toolkit takes the first thread that touches its objects for its main thread, which a worker
    // opening a file first would be; the application made later on this thread would run without its
    // events then.
    QThread::currentThread();
    files_->root = canonical_disc_root(root);
    for (const QString& file : files)
        files_->files.emplace_back(file);
    for (int i = 0; i < workers; ++i)
        workers_.emplace_back([files = files_.get()] { files->work(); });
}

BitmapReadAhead::~BitmapReadAhead() {
    for (std::thread& worker : workers_)
        worker.join();
}

bool BitmapReadAhead::Take(const QString& file, Bitmap& bitmap) {
    std::unique_lock lock(files_->mutex);
    ReadFile* found = nullptr;
    for (ReadFile& candidate : files_->files)
        if (candidate.name == file && !candidate.taken)
            found = &candidate;
    if (found == nullptr)
        return false;
    files_->read.wait(lock, [found] { return found->done(); });
    found->taken = true;
    const std::exception_ptr error = found->error;
    std::optional<BitmapFileData> data = std::move(found->data);
    found->error = nullptr;
    lock.unlock();
    if (error)
        std::rethrow_exception(error);
    bitmap.Assign(decode_bitmap_file(std::move(*data)));
    return true;
}

} // namespace kelvox
