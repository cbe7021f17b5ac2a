#include "unrar/dos_time.h"

namespace kelvox::unrar {
namespace {

bool to_local(std::time_t time, std::tm& local) {
#ifdef _WIN32
    return localtime_s(&local, &time) == 0;
#else
    return localtime_r(&time, &local) != nullptr;
#endif
}

} // namespace

std::uint32_t unix_to_dos_time(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!to_local(time, local) || local.tm_year < 80)
        return (1u << 21) | (1u << 16); // 1980-01-01, the earliest DOS time
    if (local.tm_year > 207)
        local.tm_year = 207;
    return (static_cast<std::uint32_t>(local.tm_year - 80) << 25) |
           (static_cast<std::uint32_t>(local.tm_mon + 1) << 21) |
           (static_cast<std::uint32_t>(local.tm_mday) << 16) |
           (static_cast<std::uint32_t>(local.tm_hour) << 11) |
           (static_cast<std::uint32_t>(local.tm_min) << 5) | (static_cast<std::uint32_t>(local.tm_sec) / 2);
}

std::time_t dos_to_unix_time(std::uint32_t dos_time) {
    std::tm local{};
    local.tm_year = static_cast<int>(dos_time >> 25) + 80;
    local.tm_mon = static_cast<int>((dos_time >> 21) & 0x0F) - 1;
    local.tm_mday = static_cast<int>((dos_time >> 16) & 0x1F);
    local.tm_hour = static_cast<int>((dos_time >> 11) & 0x1F);
    local.tm_min = static_cast<int>((dos_time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(dos_time & 0x1F) * 2;
    local.tm_isdst = -1;
    if (local.tm_mon < 0 || local.tm_mday == 0)
        return 0;
    const std::time_t result = std::mktime(&local);
    return result == static_cast<std::time_t>(-1) ? 0 : result;
}

} // namespace kelvox::unrar
