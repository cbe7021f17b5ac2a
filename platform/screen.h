#pragma once
// The size of the primary display, in the pixels windows are placed in.
namespace kelvox {

class Screen {
public:
    virtual ~Screen() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

} // namespace kelvox
