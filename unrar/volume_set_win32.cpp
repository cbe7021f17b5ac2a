// The volumes as Windows files, by their UTF-16 names: opened read-only (others may read them too), read
// at an offset given with each read, so that no position is shared.
#include "unrar/volume_set.h"

#include "unrar/names_win32.h"
#include "unrar/rar_error.h"

#include <windows.h>

#include <algorithm>

namespace kelvox::unrar {
namespace {

HANDLE handle_of(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

VolumeSet::~VolumeSet() {
    for (const Volume& volume : volumes_)
        ::CloseHandle(handle_of(volume.file));
}

bool VolumeSet::try_open(const std::string& name) {
    std::wstring wide;
    try {
        wide = long_path(utf8_to_utf16(name));
    } catch (const RarError&) {
        return false;
    }
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        ::CloseHandle(file);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::CloseHandle(file);
        return false;
    }
    volumes_.push_back(
        {name, reinterpret_cast<std::intptr_t>(file), static_cast<std::uint64_t>(size.QuadPart)});
    return true;
}

std::size_t VolumeSet::read_some(std::intptr_t file, std::uint64_t offset, unsigned char* out,
                                 std::size_t count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!::ReadFile(handle_of(file), out, static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30)), &got,
                    &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        fail(ERAR_EREAD);
    }
    return got;
}

} // namespace kelvox::unrar
