#include "platform/draw/image_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <limits>

namespace kelvox {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
// Below this the image shares the heap's pages like any other allocation.
constexpr std::size_t kLargeImage = std::size_t(256) << 10;

struct Mapping {
    void* start;
    std::size_t length;
};

void unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

// A mapping of at least `bytes`, starting on a large page's boundary so that every large page inside it
// can be one; null when refused.
Mapping* map_aligned(std::size_t bytes) {
    const std::size_t length = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* raw =
        mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto raw_address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = (raw_address + kLargePage - 1) / kLargePage * kLargePage;
    const std::size_t head = start - raw_address;
    if (head > 0)
        munmap(raw, head);
    const std::size_t tail = kLargePage - head;
    if (tail > 0)
        munmap(reinterpret_cast<void*>(start + length), tail);
    // Only advice: where large pages are off or scarce the mapping is backed by small ones.
    madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);
    return new Mapping{reinterpret_cast<void*>(start), length};
}

} // namespace

QImage new_rgb32_image(int width, int height) {
    if (width <= 0 || height <= 0)
        return QImage();
    const std::size_t bytes_per_line = std::size_t(width) * 4;
    if (std::size_t(height) > std::numeric_limits<std::size_t>::max() / bytes_per_line)
        return QImage();
    const std::size_t bytes = bytes_per_line * std::size_t(height);
    if (bytes < kLargeImage)
        return QImage(width, height, QImage::Format_RGB32);
    Mapping* mapping = map_aligned(bytes);
    if (mapping == nullptr)
        return QImage(width, height, QImage::Format_RGB32);
    return QImage(static_cast<uchar*>(mapping->start), width, height, qsizetype(bytes_per_line),
                  QImage::Format_RGB32, unmap, mapping);
}

} // namespace kelvox
