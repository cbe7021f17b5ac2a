#include "unrar/safe_writer.h"

#include "unrar/rar_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <random>

namespace kelvox::unrar {
namespace {

std::string temporary_name() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const unsigned value = seed ^ (static_cast<unsigned>(::getpid()) << 16) ^ (counter++ * 2654435761u);
    static const char digits[] = "0123456789abcdef";
    std::string name = ".kelvox-unrar-";
    for (int i = 0; i < 8; ++i)
        name += digits[(value >> (4 * i)) & 0x0F];
    return name;
}

bool is_directory_at(int directory, const std::string& name) {
    struct stat info {};
    return ::fstatat(directory, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
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

DirectoryFd& DirectoryFd::operator=(DirectoryFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
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

PendingFile::PendingFile(const DirectoryFd& directory, std::string final_name)
    : directory_(directory.get()), final_name_(std::move(final_name)) {
    if (is_directory_at(directory_, final_name_))
        fail(ERAR_ECREATE);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_name_ = temporary_name();
        fd_ = ::openat(directory_, temp_name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0)
        fail(ERAR_ECREATE);
}

PendingFile::~PendingFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlinkat(directory_, temp_name_.c_str(), 0);
}

void PendingFile::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd_, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            fail(ERAR_EWRITE);
        data += done;
        size -= static_cast<std::size_t>(done);
    }
}

void PendingFile::commit(mode_t mode, std::time_t modified) {
    ::fchmod(fd_, mode);
    if (modified != 0) {
        const struct timespec times[2] = {{modified, 0}, {modified, 0}};
        ::futimens(fd_, times);
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        fail(ERAR_ECLOSE);
    if (::renameat(directory_, temp_name_.c_str(), directory_, final_name_.c_str()) != 0)
        fail(ERAR_ECREATE);
    committed_ = true;
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
                    const DirectoryFd& target_directory, const std::string& target_name) {
    struct stat info {};
    if (::fstatat(target_directory.get(), target_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || is_directory_at(directory.get(), name))
        fail(ERAR_ECREATE);
    place_by_rename(directory.get(), name, [&](const char* temp) {
        return ::linkat(target_directory.get(), target_name.c_str(), directory.get(), temp, 0);
    });
}

} // namespace kelvox::unrar
