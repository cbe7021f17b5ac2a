#pragma once
// Bitmap files of a disc read and decoded on worker threads ahead of the main thread, which takes each
// of them once: a start's skin, read while the toolkit and the window start. A file taken gives the
// bitmap exactly what Bitmap::LoadFromFile would, and raises what it would raise, when it is taken. The
// files are held to the root given here, as DiscRoot holds the files the main thread reads. Forms that
// only the toolkit's general reader decodes are left to it, on the main thread, when taken.
#include <QString>
#include <QStringList>

#include <memory>
#include <thread>
#include <vector>

namespace kelvox {

class Bitmap;

class BitmapReadAhead {
public:
    // Begins reading the files (disc paths) on `workers` threads, in the order given.
    BitmapReadAhead(const QString& root, const QStringList& files, int workers);
    // Waits for the workers.
    ~BitmapReadAhead();
    BitmapReadAhead(const BitmapReadAhead&) = delete;
    BitmapReadAhead& operator=(const BitmapReadAhead&) = delete;

    // Waits until the file has been read, then loads it into the bitmap as LoadFromFile(file) would.
    // False, with the bitmap untouched, for a file not read ahead or taken already.
    bool Take(const QString& file, Bitmap& bitmap);

private:
    struct Files;
    std::unique_ptr<Files> files_;
    std::vector<std::thread> workers_;
};

} // namespace kelvox
