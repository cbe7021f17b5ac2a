#include "screen/panel_blend_rows.h"
#include "screen/relief_plane.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace kelvox {
namespace {

// The tint worked out the long way, in 64 bits and with the language's own division.
Pixel expected_tint(Pixel relief, Pixel target, int level) {
    const int64_t p = relief & 0xFF;
    if (p == 128)
        return target;
    const int64_t sum = (target & 0xFF) + ((target >> 8) & 0xFF) + ((target >> 16) & 0xFF);
    int64_t v = sum / 3 + (2 * p - 256) * static_cast<int64_t>(level) / 16;
    v = v < 0 ? 0 : (v > 245 ? 245 : v);
    return make_pixel(static_cast<uint8_t>(v), static_cast<uint8_t>(v + 10), static_cast<uint8_t>(v));
}

std::vector<int8_t> relief_offsets(const std::vector<Pixel>& relief) {
    std::vector<int8_t> offsets;
    for (Pixel p : relief)
        offsets.push_back(relief_offset(p));
    return offsets;
}

// A row of the given width with sentinels on both sides, so that a kernel writing past its row shows.
struct Row {
    static constexpr Pixel kSentinel = 0x5A5A5A5Au;
    static constexpr int kMargin = 16;
    std::vector<Pixel> relief, target;
    std::vector<int8_t> offsets;
    int width;

    explicit Row(int w)
        : relief(static_cast<size_t>(w + 2 * kMargin)), target(relief.size(), kSentinel), width(w) {}
    Pixel* target_row() { return target.data() + kMargin; }
    const int8_t* relief_row() {
        offsets = relief_offsets(relief);
        return offsets.data() + kMargin;
    }
};

void expect_kernel_matches(const BlendRowKernel& kernel, const std::vector<Pixel>& relief,
                           const std::vector<Pixel>& target, int level) {
    std::vector<Pixel> out = target;
    kernel.row(relief_offsets(relief).data(), out.data(), static_cast<int>(out.size()), level);
    int mismatches = 0;
    for (size_t i = 0; i < out.size() && mismatches < 5; ++i) {
        const Pixel want = expected_tint(relief[i], target[i], level);
        if (out[i] != want) {
            ++mismatches;
            ADD_FAILURE() << kernel.name << " level " << level << " relief " << (relief[i] & 0xFF)
                          << " target 0x" << std::hex << target[i] << ": got 0x" << out[i] << ", want 0x"
                          << want;
        }
    }
}

TEST(PanelBlendRows, EveryKernelGivesTheExactTintForEveryReliefAndBrightness) {
    // Each relief value over targets of every byte sum 0 … 765, at every level of a fade.
    std::vector<Pixel> relief, target;
    for (int p = 0; p < 256; ++p)
        for (int sum = 0; sum <= 765; ++sum) {
            const int blue = std::min(sum, 255);
            const int green = std::min(sum - blue, 255);
            relief.push_back(
                make_pixel(static_cast<uint8_t>(p), static_cast<uint8_t>(p), static_cast<uint8_t>(p)));
            target.push_back(make_pixel(static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                                        static_cast<uint8_t>(sum - blue - green)));
        }
    for (const BlendRowKernel& kernel : runnable_blend_rows())
        for (int level = 0; level <= 17; ++level)
            expect_kernel_matches(kernel, relief, target, level);
}

TEST(PanelBlendRows, LevelsOutsideAFadeStillGiveTheExactTint) {
    std::mt19937 random(11);
    std::vector<Pixel> relief(4099), target(4099);
    for (size_t i = 0; i < relief.size(); ++i) {
        relief[i] = random() % 4 == 0 ? make_pixel(128, 1, 2) : static_cast<Pixel>(random());
        target[i] = static_cast<Pixel>(random()); // any alpha: a kept pixel keeps it
    }
    for (const BlendRowKernel& kernel : runnable_blend_rows())
        for (int level : {-1, -16, -127, -128, 127, 128, 129, 2047, 2048, 2049, 100000, INT_MAX, INT_MIN})
            expect_kernel_matches(kernel, relief, target, level);
}

TEST(PanelBlendRows, EveryKernelStaysWithinItsRowAtEveryWidth) {
    std::mt19937 random(5);
    for (const BlendRowKernel& kernel : runnable_blend_rows())
        for (int width : {0, 1, 3, 4, 7, 8, 9, 15, 16, 17, 23, 24, 31, 32, 33, 47, 550}) {
            SCOPED_TRACE(testing::Message() << kernel.name << " width " << width);
            Row row(width);
            for (Pixel& p : row.relief)
                p = static_cast<Pixel>(random()) | 0xFFu; // never 128: every pixel of the row changes
            std::vector<Pixel> before = row.target;
            kernel.row(row.relief_row(), row.target_row(), width, 16);
            for (int i = 0; i < static_cast<int>(row.target.size()); ++i) {
                const bool inside = i >= Row::kMargin && i < Row::kMargin + width;
                const Pixel want = inside ? expected_tint(row.relief[i], before[i], 16) : Row::kSentinel;
                ASSERT_EQ(row.target[i], want) << "at " << i - Row::kMargin;
            }
        }
}

TEST(PanelBlendRows, TheChosenKernelIsOneOfTheRunnableOnes) {
    const std::vector<BlendRowKernel> kernels = runnable_blend_rows();
    ASSERT_FALSE(kernels.empty());
    EXPECT_STREQ(kernels.front().name, "plain");
    bool found = false;
    for (const BlendRowKernel& kernel : kernels)
        found = found || kernel.row == fastest_blend_row();
    EXPECT_TRUE(found);
    EXPECT_EQ(fastest_blend_row(), kernels.back().row);
}

} // namespace
} // namespace kelvox
