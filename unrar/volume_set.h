// The files of one archive, opened lazily in order. The next name is worked out here; the caller's
// volume callback hears of every volume opened (RAR_VOL_NOTIFY) and is asked for a missing one
// (RAR_VOL_ASK) through a name buffer of volume_name_buffer_size bytes. A callback set with
// RARSetCallback is asked instead of the older volume procedure, with UCM_CHANGEVOLUME; its -1 cancels
// with ERAR_UNKNOWN.
#pragma once

#include "unrar/client_callback.h"
#include "unrar/unrar.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::unrar {

constexpr std::size_t volume_name_buffer_size = 2048;

class VolumeSet {
public:
    explicit VolumeSet(const std::string& first_name); // throws ERAR_EOPEN
    ~VolumeSet();
    VolumeSet(const VolumeSet&) = delete;
    VolumeSet& operator=(const VolumeSet&) = delete;

    void set_callback(CHANGEVOLPROC callback) { callback_ = callback; }
    void set_client_callback(const ClientCallback* client) { client_ = client; }
    void set_new_naming(bool new_naming) { new_naming_ = new_naming; }
    // A client that named the archive in wide characters is asked in them first (UCM_CHANGEVOLUMEW).
    void set_wide_questions(bool wide) { wide_questions_ = wide; }

    std::size_t count() const { return volumes_.size(); }
    const std::string& name(std::size_t index) const { return volumes_[index].name; }
    std::uint64_t size(std::size_t index) const { return volumes_[index].size; }
    // Set while the caller has asked to close the archive from inside its volume callback: the
    // operation in progress then ends as soon as the callback returns.
    void set_abort_flag(const bool* flag) { abort_flag_ = flag; }

    // Makes volume `index` available. Without may_ask a missing file gives false; with it the callback
    // is asked and a refusal (or no callback) is ERAR_EOPEN.
    bool ensure(std::size_t index, bool may_ask);

    // Reads up to `count` bytes; fewer only at the end of the file.
    std::size_t read_at(std::size_t index, std::uint64_t offset, void* buffer, std::size_t count) const;
    void read_exact(std::size_t index, std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    struct Volume {
        std::string name;
        std::intptr_t file; // a descriptor, or a HANDLE on Windows
        std::uint64_t size;
    };

    bool try_open(const std::string& name);
    // Up to `count` bytes at `offset` of the file, 0 at its end; fails with ERAR_EREAD.
    static std::size_t read_some(std::intptr_t file, std::uint64_t offset, unsigned char* out,
                                 std::size_t count);
    std::string ask_for(const std::string& name);
    void notify(const std::string& name);
    bool has_callback() const { return (client_ != nullptr && *client_) || callback_ != nullptr; }
    // The callback's answer; `name` becomes what it left in the buffer.
    int call(std::string& name, int mode) const;
    int send(unsigned message, LPARAM buffer, int mode) const;

    std::vector<Volume> volumes_;
    CHANGEVOLPROC callback_ = nullptr;
    const ClientCallback* client_ = nullptr;
    bool new_naming_ = true;
    bool wide_questions_ = false;
    const bool* abort_flag_ = nullptr;
};

} // namespace kelvox::unrar
