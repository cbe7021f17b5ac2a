#include "unrar/safe_writer.h"

#include "unrar/rar_error.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace kelvox::unrar {
namespace {

// An empty temporary may be one another run has just created and not yet locked.
constexpr std::time_t empty_temporary_age = 60;

std::string temporary_name() {
    return unrar::temporary_name(static_cast<unsigned>(::getpid()));
}

// Ours, left by a writer that is gone: a live writer holds its file locked from creation to rename.
bool is_stale_temporary(int directory, const char* name) {
    const int fd = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool stale = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
                       (info.st_size > 0 || info.st_mtime + empty_temporary_age < std::time(nullptr)) &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return stale;
}

extern "C" void* close_descriptor(void* fd) {
    ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(fd)));
    return nullptr;
}

// The closing thread runs this module's code, which the caller may unload as soon as the archive is
// closed: the module is first made to stay mapped for the life of the process.
bool stay_loaded() {
    static const bool pinned = [] {
        Dl_info self{};
        return ::dladdr(reinterpret_cast<void*>(&close_descriptor), &self) != 0 &&
               self.dli_fname != nullptr &&
               ::dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
    }();
    return pinned;
}

// A bare thread: the module carries its own C++ runtime, which is not to start threads in the host.
bool close_in_background(int fd) {
    if (!stay_loaded())
        return false;
    pthread_attr_t attributes;
    if (::pthread_attr_init(&attributes) != 0)
        return false;
    pthread_t closer;
    const bool started = ::pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) == 0 &&
                         ::pthread_create(&closer, &attributes, close_descriptor,
                                          reinterpret_cast<void*>(static_cast<std::intptr_t>(fd))) == 0;
    ::pthread_attr_destroy(&attributes);
    return started;
}

bool is_directory_at(int directory, const std::string& name) {
    struct stat info {};
    return ::fstatat(directory, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Writes all the bytes, going on after an interrupted write; fails with ERAR_EWRITE.
void write_fully(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            fail(ERAR_EWRITE);
        data += done;
        size -= static_cast<std::size_t>(done);
    }
}

// Creates an entry under a fresh temporary name with `make`, then renames it over `name`.
template <typename Make> void place_by_rename(int directory, const std::string& name, Make make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = temporary_name();
        if (make(temp.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            fail(ERAR_ECREATE);
        }
        if (::renameat(directory, temp.c_str(), directory, name.c_str()) != 0) {
            ::unlinkat(directory, temp.c_str(), 0);
            fail(ERAR_ECREATE);
        }
        return;
    }
    fail(ERAR_ECREATE);
}

} // namespace

DirectoryFd::~DirectoryFd() {
    if (fd_ >= 0)
        ::close(fd_);
}

DirectoryFd::DirectoryFd(DirectoryFd&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

DirectoryFd& DirectoryFd::operator=(DirectoryFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileIdentity DirectoryFd::identity() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        fail(ERAR_ECREATE);
    return {info.st_dev, info.st_ino};
}

DirectoryFd open_caller_directory(const std::string& path) {
    const std::string where = path.empty() ? "." : path;
    int fd = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        for (std::size_t slash = where.find('/', 1);; slash = where.find('/', slash + 1)) {
            const std::string prefix = where.substr(0, slash);
            if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
                fail(ERAR_ECREATE);
            if (slash == std::string::npos)
                break;
        }
        fd = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0)
        fail(ERAR_ECREATE);
    return DirectoryFd(fd);
}

DirectoryFd open_inside(const DirectoryFd& root, const std::vector<std::string>& components,
                        std::size_t count, bool create) {
    DirectoryFd current(::dup(root.get()));
    if (current.get() < 0)
        fail(ERAR_ECREATE);
    for (std::size_t i = 0; i < count; ++i) {
        const char* name = components[i].c_str();
        if (create && ::mkdirat(current.get(), name, 0755) != 0 && errno != EEXIST)
            fail(ERAR_ECREATE);
        const int next = ::openat(current.get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            fail(ERAR_ECREATE);
        current = DirectoryFd(next);
    }
    return current;
}

// The file has no name until it is whole, where the file system can make one: a run killed meanwhile
// leaves nothing in the destination. Elsewhere it is written under a temporary name, which a later run
// removes (see remove_stale_temporaries).
PendingFile::PendingFile(const DirectoryFd& directory, std::string final_name)
    : directory_(directory), final_name_(std::move(final_name)) {
    const int at = directory_.get();
    if (is_directory_at(at, final_name_))
        fail(ERAR_ECREATE);
    int fd = ::openat(at, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    // Naming it later goes through its entry in /proc, which a chroot may lack.
    if (fd >= 0 && ::access(("/proc/self/fd/" + std::to_string(fd)).c_str(), F_OK) != 0) {
        ::close(fd);
        fd = -1;
    }
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_name_ = temporary_name();
        fd = ::openat(at, temp_name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        fail(ERAR_ECREATE);
    file_ = fd;
    // Tells a later run's sweep that this file is still being written.
    ::flock(fd, LOCK_EX | LOCK_NB);
}

// Freeing the blocks of a large file takes tens of milliseconds (more with online discard), and it
// happens when the last reference goes: the name goes at once (the caller must find nothing left when
// the call returns), and the descriptor of a large unfinished file is closed on a thread of its own, so
// that a cancelled file does not keep the caller waiting.
PendingFile::~PendingFile() {
    if (!committed_ && !temp_name_.empty())
        ::unlinkat(directory_.get(), temp_name_.c_str(), 0);
    const int fd = static_cast<int>(file_);
    if (fd < 0)
        return;
    constexpr std::uint64_t large_file = 16 << 20;
    if (committed_ || written_ < large_file || !close_in_background(fd))
        ::close(fd);
}

// A temporary name for the whole file, for the rename over its final one.
void PendingFile::name_unnamed_file() {
    const std::string open_file = "/proc/self/fd/" + std::to_string(file_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporary_name();
        if (::linkat(AT_FDCWD, open_file.c_str(), directory_.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_name_ = name;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    fail(ERAR_ECREATE);
}

void PendingFile::write(const unsigned char* data, std::size_t size) {
    write_fully(static_cast<int>(file_), data, size);
    written_ += size;
}

FileIdentity PendingFile::commit(unsigned mode, std::time_t modified) {
    const int fd = static_cast<int>(file_);
    ::fchmod(fd, static_cast<mode_t>(mode));
    if (modified != 0) {
        const struct timespec times[2] = {{modified, 0}, {modified, 0}};
        ::futimens(fd, times);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        fail(ERAR_ECLOSE);
    if (temp_name_.empty())
        name_unnamed_file();
    file_ = -1;
    if (::close(fd) != 0)
        fail(ERAR_ECLOSE);
    if (::renameat(directory_.get(), temp_name_.c_str(), directory_.get(), final_name_.c_str()) != 0)
        fail(ERAR_ECREATE);
    committed_ = true;
    return {info.st_dev, info.st_ino};
}

void make_directory_in(const DirectoryFd& directory, const std::string& name) {
    if (::mkdirat(directory.get(), name.c_str(), 0755) == 0)
        return;
    if (errno != EEXIST || !is_directory_at(directory.get(), name))
        fail(ERAR_ECREATE);
}

void place_symlink(const DirectoryFd& directory, const std::string& name, const std::string& target) {
    if (is_directory_at(directory.get(), name))
        fail(ERAR_ECREATE);
    place_by_rename(directory.get(), name,
                    [&](const char* temp) { return ::symlinkat(target.c_str(), directory.get(), temp); });
}

void place_hardlink(const DirectoryFd& directory, const std::string& name,
                    const DirectoryFd& target_directory, const std::string& target_name,
                    const FileIdentities& extracted) {
    struct stat info {};
    if (::fstatat(target_directory.get(), target_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || !extracted.contains({info.st_dev, info.st_ino}) ||
        is_directory_at(directory.get(), name))
        fail(ERAR_ECREATE);
    place_by_rename(directory.get(), name, [&](const char* temp) {
        return ::linkat(target_directory.get(), target_name.c_str(), directory.get(), temp, 0);
    });
}

void remove_stale_temporaries(const DirectoryFd& directory) {
    const int listing_fd = ::dup(directory.get());
    if (listing_fd < 0)
        return;
    DIR* listing = ::fdopendir(listing_fd);
    if (listing == nullptr) {
        ::close(listing_fd);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* item = ::readdir(listing)) {
        if (is_temporary_name(item->d_name) && is_stale_temporary(directory.get(), item->d_name))
            stale.emplace_back(item->d_name);
    }
    ::closedir(listing);
    for (const std::string& name : stale)
        ::unlinkat(directory.get(), name.c_str(), 0);
}

} // namespace kelvox::unrar
