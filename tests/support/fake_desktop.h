#pragma once
// Fakes of the desktop services: a screen of a chosen size, a taskbar that records what it was told,
// a font registry that answers as told.
#include "platform/font_registry.h"
#include "platform/screen.h"
#include "platform/taskbar.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kelvox::test {

class FakeScreen : public Screen {
public:
    FakeScreen(int width = 1024, int height = 768) : width_(width), height_(height) {}
    int width() const override { return width_; }
    int height() const override { return height_; }
    void Resize(int width, int height) {
        width_ = width;
        height_ = height;
    }

private:
    int width_;
    int height_;
};

class FakeTaskbar : public Taskbar {
public:
    void hide() override;
    void show() override;
    // "hide" and "show" in the order they came.
    std::vector<std::string> calls;
    bool hidden = false;
};

class FakeFontRegistry : public FontRegistry {
public:
    bool add(const QString& file) override;
    void remove(const QString& file) override;
    // What add answers.
    bool add_succeeds = true;
    QStringList added;
    QStringList removed;
    // Registrations not yet removed.
    int registered = 0;
};

} // namespace kelvox::test
