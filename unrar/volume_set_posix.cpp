// The volumes as POSIX files: opened read-only, read with pread so that no position is shared.
#include "unrar/volume_set.h"

#include "unrar/rar_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kelvox::unrar {

VolumeSet::~VolumeSet() {
    for (const Volume& volume : volumes_)
        ::close(static_cast<int>(volume.file));
}

bool VolumeSet::try_open(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    volumes_.push_back({name, fd, static_cast<std::uint64_t>(info.st_size)});
    return true;
}

std::size_t VolumeSet::read_some(std::intptr_t file, std::uint64_t offset, unsigned char* out,
                                 std::size_t count) {
    for (;;) {
        const ssize_t got = ::pread(static_cast<int>(file), out, count, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            fail(ERAR_EREAD);
    }
}

} // namespace kelvox::unrar
