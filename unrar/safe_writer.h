// Writing under a destination without ever following a link that is already there: directories are
// opened one component at a time with O_NOFOLLOW, and every file is written under a temporary name
// in its directory and renamed into place only once it is complete and correct.
#pragma once

#include "unrar/data_sink.h"

#include <compare>
#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kelvox::unrar {

// Writes all the bytes to the descriptor, going on after an interrupted write; fails with ERAR_EWRITE.
void write_fully(int fd, const unsigned char* data, std::size_t size);

// A file as the file system knows it, whatever names lead to it.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    auto operator<=>(const FileIdentity&) const = default;
};
using FileIdentities = std::set<FileIdentity>;

class DirectoryFd {
public:
    explicit DirectoryFd(int fd = -1) : fd_(fd) {}
    ~DirectoryFd();
    DirectoryFd(DirectoryFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    DirectoryFd& operator=(DirectoryFd&& other) noexcept;
    DirectoryFd(const DirectoryFd&) = delete;
    DirectoryFd& operator=(const DirectoryFd&) = delete;
    int get() const { return fd_; }
    FileIdentity identity() const;

private:
    int fd_;
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
    // Returns the file placed, for the links that may later point at it.
    FileIdentity commit(mode_t mode, std::time_t modified);

private:
    void name_unnamed_file();

    int directory_;
    std::string final_name_;
    std::string temp_name_; // empty while the file has no name
    int fd_ = -1;
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

// Removes from `directory` the temporary files that a run of this module killed before it finished
// left there: our own name pattern, regular files of ours, that no live writer holds locked.
void remove_stale_temporaries(const DirectoryFd& directory);

} // namespace kelvox::unrar
