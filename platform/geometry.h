#pragma once
// Points and rectangles in pixels. A rectangle runs from (left, top) up to, but not including,
// (right, bottom), the way the menu's drawing code names its rectangles.
#include <algorithm>

namespace kelvox {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The rectangle of the given size whose top-left corner is (x, y).
    static constexpr Rect sized(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect Intersected(const Rect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    constexpr Rect Translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace kelvox
