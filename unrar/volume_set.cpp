#include "unrar/volume_set.h"

#include "unrar/names.h"
#include "unrar/rar_error.h"
#include "unrar/volume_names.h"

#include <vector>

namespace kelvox::unrar {
namespace {

// A callback that keeps answering "go on" without naming a file that exists would loop for ever.
constexpr int max_asks_per_volume = 100;
// A callback that answers every request with a volume already seen would make the set endless; no
// real set comes near this.
constexpr std::size_t max_volumes = 10000;

} // namespace

VolumeSet::VolumeSet(const std::string& first_name) {
    if (!try_open(first_name))
        fail(ERAR_EOPEN);
}

int VolumeSet::send(unsigned message, LPARAM buffer, int mode) const {
    const int answer = client_->send(message, buffer, mode);
    if (answer == -1)
        fail(ERAR_UNKNOWN);
    return answer;
}

int VolumeSet::call(std::string& name, int mode) const {
    const bool client = client_ != nullptr && *client_;
    if (client && wide_questions_) {
        std::vector<wchar_t> wide(volume_name_buffer_size);
        copy_wide_to_buffer(wide.data(), wide.size(), name);
        const int answer = send(UCM_CHANGEVOLUMEW, reinterpret_cast<LPARAM>(wide.data()), mode);
        if (answer != 0) {
            wide.back() = L'\0';
            name = wide_to_utf8(wide.data());
            return answer;
        }
    }
    char buffer[volume_name_buffer_size] = {};
    copy_to_buffer(buffer, sizeof buffer, name);
    const int answer =
        client ? send(UCM_CHANGEVOLUME, reinterpret_cast<LPARAM>(buffer), mode) : callback_(buffer, mode);
    buffer[sizeof buffer - 1] = '\0';
    name = buffer;
    return answer;
}

void VolumeSet::notify(const std::string& name) {
    if (!has_callback())
        return;
    std::string told = name;
    const int answer = call(told, RAR_VOL_NOTIFY);
    if (answer < 0 || (abort_flag_ != nullptr && *abort_flag_))
        fail(ERAR_EOPEN);
}

std::string VolumeSet::ask_for(const std::string& name) {
    if (!has_callback())
        fail(ERAR_EOPEN);
    std::string picked = name;
    const int answer = call(picked, RAR_VOL_ASK);
    if (answer <= 0 || (abort_flag_ != nullptr && *abort_flag_))
        fail(ERAR_EOPEN);
    return picked;
}

bool VolumeSet::ensure(std::size_t index, bool may_ask) {
    if (index >= max_volumes)
        fail(ERAR_BAD_ARCHIVE);
    while (volumes_.size() <= index) {
        std::string candidate = next_volume_name(volumes_.back().name, new_naming_);
        int asks = 0;
        while (!try_open(candidate)) {
            if (!may_ask)
                return false;
            if (++asks > max_asks_per_volume)
                fail(ERAR_EOPEN);
            candidate = ask_for(candidate);
        }
        notify(candidate);
    }
    return true;
}

std::size_t VolumeSet::read_at(std::size_t index, std::uint64_t offset, void* buffer,
                               std::size_t count) const {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = read_some(volumes_[index].file, offset + done, out + done, count - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void VolumeSet::read_exact(std::size_t index, std::uint64_t offset, void* buffer, std::size_t count) const {
    if (read_at(index, offset, buffer, count) != count)
        fail(ERAR_BAD_DATA);
}

} // namespace kelvox::unrar
