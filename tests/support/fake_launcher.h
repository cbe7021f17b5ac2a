#pragma once
// A launcher for tests: records what would have been started or opened, and answers as told.
#include "platform/launcher.h"

#include <QString>

#include <optional>
#include <vector>

namespace kelvox {

class FakeLauncher final : public Launcher {
public:
    struct Call {
        enum class Kind { start, open } kind;
        QString file;
        QString directory;
        bool operator==(const Call&) const = default;
    };

    std::vector<Call> calls;
    // What start_program and open_document return.
    bool result = true;
    // When set, start_program raises a PlatformError with this text (a Windows program without wine).
    std::optional<QString> start_error;

    bool start_program(const QString& program, const QString& directory) override {
        calls.push_back({Call::Kind::start, program, directory});
        if (start_error)
            throw PlatformError(*start_error);
        return result;
    }
    bool open_document(const QString& file, const QString& directory) override {
        calls.push_back({Call::Kind::open, file, directory});
        return result;
    }
};

} // namespace kelvox
