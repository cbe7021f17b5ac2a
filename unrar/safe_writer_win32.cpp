// The Windows file API, by UTF-16 names only. Windows opens by name, not relative to an open directory:
// each directory on the way is opened as itself (a reparse point, junction or link, is never followed
// but refused) and held open without sharing it for deletion, so none of them can be renamed or replaced
// while names under it are used. A file is written under a temporary name held open unshared (which is
// what tells a later run's sweep that its writer is alive) and moved over its final name only when
// complete and correct.
#include "unrar/safe_writer.h"

#include "unrar/names_win32.h"
#include "unrar/rar_error.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace kelvox::unrar {
namespace {

// An empty temporary may be one another run has just created.
constexpr std::uint64_t empty_temporary_age = 60;
// Directories are opened to hold them and to read what they are, nothing more.
constexpr DWORD directory_access = FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;
constexpr DWORD no_delete_sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::string temporary_name() {
    return unrar::temporary_name(static_cast<unsigned>(::GetCurrentProcessId()));
}

std::wstring child(const DirectoryFd& directory, const std::string& name) {
    return directory.path + L"\\" + utf8_to_utf16(name);
}

FileIdentity identity_of(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    if (!::GetFileInformationByHandle(file, &info))
        fail(ERAR_ECREATE);
    return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// Opens `path` as itself, never through a reparse point; INVALID_HANDLE_VALUE when absent.
HANDLE open_as_itself(const std::wstring& path, DWORD access, DWORD sharing) {
    return ::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool is_plain_directory(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool is_directory_at(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Moves a link over `to` by a handle on the link itself: MoveFileExW looks through a link (wine's does).
bool rename_as_itself(const std::wstring& from, const std::wstring& to) {
    const HANDLE link =
        open_as_itself(from, DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (link == INVALID_HANDLE_VALUE)
        return false;
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + to.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(to.size() * sizeof(wchar_t));
    std::copy(to.begin(), to.end(), rename->FileName);
    const bool renamed =
        ::SetFileInformationByHandle(link, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
    ::CloseHandle(link);
    return renamed;
}

// Creates a link under a fresh temporary name with `make`, then moves it over `name`.
template <typename Make>
void place_by_rename(const DirectoryFd& directory, const std::string& name, Make make) {
    const std::wstring final_path = child(directory, name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring temp = child(directory, temporary_name());
        if (!make(temp)) {
            if (::GetLastError() == ERROR_ALREADY_EXISTS || ::GetLastError() == ERROR_FILE_EXISTS)
                continue;
            fail(ERAR_ECREATE);
        }
        if (!rename_as_itself(temp, final_path)) {
            ::DeleteFileW(temp.c_str());
            fail(ERAR_ECREATE);
        }
        return;
    }
    fail(ERAR_ECREATE);
}

FILETIME to_file_time(std::time_t seconds) {
    // 100-nanosecond steps since 1601.
    const std::uint64_t ticks = (static_cast<std::uint64_t>(seconds) + 11644473600ull) * 10000000ull;
    return {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

} // namespace

DirectoryFd::~DirectoryFd() {
    for (void* handle : handles)
        ::CloseHandle(handle);
}

DirectoryFd::DirectoryFd(DirectoryFd&& other) noexcept
    : handles(std::move(other.handles)), path(std::move(other.path)) {
    other.handles.clear();
}

DirectoryFd& DirectoryFd::operator=(DirectoryFd&& other) noexcept {
    if (this != &other) {
        for (void* handle : handles)
            ::CloseHandle(handle);
        handles = std::move(other.handles);
        path = std::move(other.path);
        other.handles.clear();
    }
    return *this;
}

FileIdentity DirectoryFd::identity() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return identity_of(handles.back(), info);
}

// The caller's own directory, created when missing; links on its way are the caller's business, and
// its real place is taken from the handle, so that a link on the way is not looked at again.
DirectoryFd open_caller_directory(const std::string& path) {
    const std::wstring where = long_path(utf8_to_utf16(path.empty() ? "." : path));
    if (!is_directory_at(where)) {
        // Each missing parent in turn, from the first after the root (\\?\C:\ or \\?\UNC\server\share\).
        for (std::size_t slash = where.find(L'\\', 4); slash != std::wstring::npos;
             slash = where.find(L'\\', slash + 1))
            ::CreateDirectoryW(where.substr(0, slash).c_str(), nullptr);
        if (!::CreateDirectoryW(where.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            fail(ERAR_ECREATE);
    }
    const HANDLE handle = ::CreateFileW(where.c_str(), directory_access, no_delete_sharing, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        fail(ERAR_ECREATE);
    DirectoryFd directory;
    directory.handles.push_back(handle);
    std::wstring real(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, real.data(), static_cast<DWORD>(real.size()), 0);
    if (length >= real.size()) {
        real.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, real.data(), static_cast<DWORD>(real.size()), 0);
    }
    if (length == 0 || length >= real.size())
        fail(ERAR_ECREATE);
    real.resize(length);
    directory.path = long_path(real);
    if (directory.path.back() == L'\\')
        directory.path.pop_back();
    return directory;
}

DirectoryFd open_inside(const DirectoryFd& root, const std::vector<std::string>& components,
                        std::size_t count, bool create) {
    DirectoryFd current;
    current.path = root.path;
    // The root's handle is the root's to close: the chain holds a handle of its own to it.
    HANDLE root_copy = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), root.handles.back(), ::GetCurrentProcess(), &root_copy, 0,
                           FALSE, DUPLICATE_SAME_ACCESS))
        fail(ERAR_ECREATE);
    current.handles.push_back(root_copy);
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring path = child(current, components[i]);
        if (create && !::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            fail(ERAR_ECREATE);
        const HANDLE next = open_as_itself(path, directory_access, no_delete_sharing);
        if (next == INVALID_HANDLE_VALUE)
            fail(ERAR_ECREATE);
        current.handles.push_back(next);
        BY_HANDLE_FILE_INFORMATION info{};
        identity_of(next, info);
        if (!is_plain_directory(info.dwFileAttributes))
            fail(ERAR_ECREATE);
        current.path = path;
    }
    return current;
}

PendingFile::PendingFile(const DirectoryFd& directory, std::string final_name)
    : directory_(directory), final_name_(std::move(final_name)) {
    if (is_directory_at(child(directory_, final_name_)))
        fail(ERAR_ECREATE);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = temporary_name();
        // Shared with nobody while it is written: a sweep cannot open it, so it is left alone.
        const HANDLE file =
            ::CreateFileW(child(directory_, temp).c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_ = reinterpret_cast<std::intptr_t>(file);
            temp_name_ = temp;
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    fail(ERAR_ECREATE);
}

// Windows frees a file's blocks without keeping the closer waiting, so a cancelled file of any size is
// closed and removed at once.
PendingFile::~PendingFile() {
    if (file_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(file_));
    if (!committed_ && !temp_name_.empty())
        ::DeleteFileW(child(directory_, temp_name_).c_str());
}

void PendingFile::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const auto step = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(reinterpret_cast<HANDLE>(file_), data, step, &done, nullptr) || done == 0)
            fail(ERAR_EWRITE);
        data += done;
        size -= done;
        written_ += done;
    }
}

FileIdentity PendingFile::commit(unsigned mode, std::time_t modified) {
    const auto file = reinterpret_cast<HANDLE>(file_);
    FILE_BASIC_INFO basic{};
    if (modified != 0) {
        const FILETIME time = to_file_time(modified);
        basic.LastWriteTime.LowPart = time.dwLowDateTime;
        basic.LastWriteTime.HighPart = static_cast<LONG>(time.dwHighDateTime);
        basic.LastAccessTime = basic.LastWriteTime;
    }
    basic.FileAttributes = (mode & 0200) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    BY_HANDLE_FILE_INFORMATION info{};
    const FileIdentity placed = identity_of(file, info);
    file_ = -1;
    if (!::CloseHandle(file))
        fail(ERAR_ECLOSE);
    if (!::MoveFileExW(child(directory_, temp_name_).c_str(), child(directory_, final_name_).c_str(),
                       MOVEFILE_REPLACE_EXISTING))
        fail(ERAR_ECREATE);
    committed_ = true;
    return placed;
}

void make_directory_in(const DirectoryFd& directory, const std::string& name) {
    const std::wstring path = child(directory, name);
    if (::CreateDirectoryW(path.c_str(), nullptr))
        return;
    const HANDLE existing = open_as_itself(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (existing == INVALID_HANDLE_VALUE)
        fail(ERAR_ECREATE);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool plain =
        ::GetFileInformationByHandle(existing, &info) && is_plain_directory(info.dwFileAttributes);
    ::CloseHandle(existing);
    if (!plain)
        fail(ERAR_ECREATE);
}

// Windows lets a user make a symbolic link only with the privilege for it or in developer mode; without,
// the entry fails with ERAR_ECREATE. wine 8 reports a link made and makes none: the move then finds
// nothing to move, and the entry fails the same way. The target is checked to stay inside the
// destination before this.
void place_symlink(const DirectoryFd& directory, const std::string& name, const std::string& target) {
    if (is_directory_at(child(directory, name)))
        fail(ERAR_ECREATE);
    std::wstring wide_target = utf8_to_utf16(target);
    for (wchar_t& c : wide_target)
        if (c == L'/')
            c = L'\\';
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (is_directory_at(directory.path + L"\\" + wide_target))
        flags |= SYMBOLIC_LINK_FLAG_DIRECTORY;
    place_by_rename(directory, name, [&](const std::wstring& temp) {
        return ::CreateSymbolicLinkW(temp.c_str(), wide_target.c_str(), flags) != 0;
    });
}

void place_hardlink(const DirectoryFd& directory, const std::string& name,
                    const DirectoryFd& target_directory, const std::string& target_name,
                    const FileIdentities& extracted) {
    const std::wstring target = child(target_directory, target_name);
    const HANDLE file = open_as_itself(target, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (file == INVALID_HANDLE_VALUE)
        fail(ERAR_ECREATE);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ours = ::GetFileInformationByHandle(file, &info) &&
                      !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                      extracted.contains(identity_of(file, info));
    ::CloseHandle(file);
    if (!ours || is_directory_at(child(directory, name)))
        fail(ERAR_ECREATE);
    place_by_rename(directory, name, [&](const std::wstring& temp) {
        return ::CreateHardLinkW(temp.c_str(), target.c_str(), nullptr) != 0;
    });
}

// Windows has no owner check to make here: a temporary this user may delete, that no writer holds open,
// is one a killed run left.
void remove_stale_temporaries(const DirectoryFd& directory) {
    WIN32_FIND_DATAW found{};
    const HANDLE listing =
        ::FindFirstFileW((directory.path + L"\\" + utf8_to_utf16(temporary_prefix) + L"*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    FILETIME now_time{};
    ::GetSystemTimeAsFileTime(&now_time);
    const std::uint64_t now = (std::uint64_t{now_time.dwHighDateTime} << 32) | now_time.dwLowDateTime;
    do {
        const std::wstring name = found.cFileName;
        if (!std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; }) ||
            !is_temporary_name(std::string(name.begin(), name.end())))
            continue;
        const HANDLE file =
            open_as_itself(directory.path + L"\\" + found.cFileName, DELETE | FILE_READ_ATTRIBUTES, 0);
        if (file == INVALID_HANDLE_VALUE)
            continue; // a live writer's, or not ours to remove
        BY_HANDLE_FILE_INFORMATION info{};
        const bool regular =
            ::GetFileInformationByHandle(file, &info) &&
            !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        const std::uint64_t written =
            (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
        const bool empty = info.nFileSizeLow == 0 && info.nFileSizeHigh == 0;
        if (regular && (!empty || written + empty_temporary_age * 10000000ull < now)) {
            FILE_DISPOSITION_INFO remove{TRUE};
            ::SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
        }
        ::CloseHandle(file);
    } while (::FindNextFileW(listing, &found));
    ::FindClose(listing);
}

} // namespace kelvox::unrar
