// Writing under a destination without ever following a link that is already there: directories are
// opened one component at a time without following links (O_NOFOLLOW; on Windows a reparse point is
// opened as itself and refused), and every file is written under a temporary name in its directory and
// renamed into place only once it is complete and correct.
#pragma once

#include "unrar/data_sink.h"

#include <compare>
#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <vector>

namespace kelvox::unrar {

// A file as the file system knows it, whatever names lead to it.
struct FileIdentity {
    std::uint64_t device; // on Windows the volume's serial number and the file's index
    std::uint64_t inode;
    auto operator<=>(const FileIdentity&) const = default;
};
using FileIdentities = std::set<FileIdentity>;

class DirectoryFd {
public:
    DirectoryFd() = default;
    ~DirectoryFd();
    DirectoryFd(DirectoryFd&& other) noexcept;
    DirectoryFd& operator=(DirectoryFd&& other) noexcept;
    DirectoryFd(const DirectoryFd&) = delete;
    DirectoryFd& operator=(const DirectoryFd&) = delete;
    FileIdentity identity() const;

#ifdef _WIN32
    // Windows opens by name only: the directory's handles from the caller's directory down are held,
    // none of them shared for deletion, so that no directory on the way can be renamed or replaced
    // while the module goes by the path they make.
    std::vector<void*> handles;
    std::wstring path; // \\?\ and absolute
#else
    explicit DirectoryFd(int fd) : fd_(fd) {}
    int get() const {
        return fd_;
    }

private:
    int fd_ = -1;
#endif
};

// The caller's own directory (created when missing); links in it are the caller's business.
DirectoryFd open_caller_directory(const std::string& path);
// components[0 .. count) under `root`, each created when `create` is set and absent; a component
// that is a link or not a directory is ERAR_ECREATE.
DirectoryFd open_inside(const DirectoryFd& root, const std::vector<std::string>& components,
                        std::size_t count, bool create);

class PendingFile : public DataSink {
public:
    PendingFile(const DirectoryFd& directory, std::string final_name);
    ~PendingFile() override;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void write(const unsigned char* data, std::size_t size) override;
    // `mode` holds the Unix permission bits (on Windows, no owner write bit makes the file read-only).
    // Returns the file placed, for the links that may later point at it.
    FileIdentity commit(unsigned mode, std::time_t modified);

private:
#ifndef _WIN32
    void name_unnamed_file();
#endif

    const DirectoryFd& directory_;
    std::string final_name_;
    std::string temp_name_;   // empty while the file has no name
    std::intptr_t file_ = -1; // a descriptor, or a HANDLE on Windows
    std::uint64_t written_ = 0;
    bool committed_ = false;
};

void make_directory_in(const DirectoryFd& directory, const std::string& name);
void place_symlink(const DirectoryFd& directory, const std::string& name, const std::string& target);
// Only to a regular file among `extracted`: a file that sat in the destination before is not the
// archive's to link to.
void place_hardlink(const DirectoryFd& directory, const std::string& name,
                    const DirectoryFd& target_directory, const std::string& target_name,
                    const FileIdentities& extracted);

// The names of the module's temporary files, .kelvox-unrar-XXXXXXXX (hexadecimal digits): fresh ones
// and those a sweep may remove.
std::string temporary_name(unsigned process_id);
bool is_temporary_name(const std::string& name);
inline constexpr char temporary_prefix[] = ".kelvox-unrar-";

// Removes from `directory` the temporary files that a run of this module killed before it finished
// left there: our own name pattern, regular files of ours, that no live writer holds locked.
void remove_stale_temporaries(const DirectoryFd& directory);

} // namespace kelvox::unrar
