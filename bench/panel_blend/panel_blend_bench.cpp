// Times the detail panel's tint: one frame (550 × 350 at level 16) without the per-row message
// processing, a whole fade (16 frames out, 17 in) with it, and a memcpy of the same bytes. The last
// line gives the ratio of one frame to the memcpy. The relief is reduced to its plane beforehand, as
// the panel does once per entry. Each row kernel this processor can run is timed
// too, so that a slower one being chosen shows.
#include "platform/application.h"
#include "platform/bitmap.h"
#include "screen/panel_blend.h"
#include "screen/panel_blend_rows.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename F> double median_microseconds(int repeats, F&& work) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    using namespace kelvox;
    // A benchmark needs no display: it tints pictures in memory.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    constexpr int kWidth = 550;
    constexpr int kHeight = 350;
    Bitmap relief(kWidth, kHeight);
    Bitmap background(kWidth, kHeight);
    Bitmap target(kWidth, kHeight);
    std::mt19937 random(7);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            // A relief like the skin's: mostly mid-grey, raised and sunken frames elsewhere.
            const int p = (random() % 3 == 0) ? 128 : static_cast<int>(random() % 256);
            relief.ScanLine(y)[x] =
                make_pixel(static_cast<uint8_t>(p), static_cast<uint8_t>(p), static_cast<uint8_t>(p));
            background.ScanLine(y)[x] =
                make_pixel(static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                           static_cast<uint8_t>(random()));
        }
    const ReliefPlane plane(relief);
    const size_t bytes = static_cast<size_t>(kWidth) * kHeight * sizeof(Pixel);
    std::vector<unsigned char> from(bytes, 1), to(bytes, 0);

    const auto restore = [&] {
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(target.ScanLine(y), background.ScanLine(y), kWidth * sizeof(Pixel));
    };
    const double memcpy_us = median_microseconds(2001, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        asm volatile("" : : "r"(to.data()) : "memory");
    });
    const double frame_us = median_microseconds(501, [&] {
        restore();
        panel_blend(plane, target, 16);
    });
    const double restore_us = median_microseconds(501, restore);
    for (const BlendRowKernel& kernel : runnable_blend_rows()) {
        const double kernel_us = median_microseconds(201, [&] {
            restore();
            for (int y = 0; y < kHeight; ++y)
                kernel.row(plane.row(y), target.ScanLine(y), kWidth, 16);
        });
        std::printf("row kernel %-5s: %.1f us a frame\n", kernel.name, std::max(kernel_us - restore_us, 0.0));
    }
    const double fade_us = median_microseconds(21, [&] {
        for (int level = 16; level >= 1; --level) {
            restore();
            panel_blend(plane, target, level, [&] { application.ProcessMessages(); });
        }
        for (int level = 0; level <= 16; ++level) {
            restore();
            panel_blend(plane, target, level, [&] { application.ProcessMessages(); });
        }
    });
    const double blend_us = std::max(frame_us - restore_us, 0.0);
    std::printf("memcpy of %zu bytes: %.1f us\n", bytes, memcpy_us);
    std::printf("one frame at level 16, no message processing: %.1f us (with the backdrop copy %.1f us)\n",
                blend_us, frame_us);
    std::printf("whole fade, 33 frames with message processing per row: %.1f us\n", fade_us);
    std::printf("blend/memcpy=%.2f\n", blend_us / memcpy_us);
    return 0;
}
