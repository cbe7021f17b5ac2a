// Opens any bytes as an archive and walks every header through the C interface, testing the stored
// entries (the module's own copy and CRC check) and skipping the rest.
#include "unrar/unrar.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Volume names derived from the input's file do not exist: refuse to look for them.
int RAR_API refuse_volumes(char*, int mode) {
    return mode == RAR_VOL_NOTIFY ? 1 : 0;
}

// The input is rewritten for every run: on a disk file system the truncation alone costs more than
// the module's work, so memory-backed /dev/shm is taken when TMPDIR does not say otherwise.
std::string temporary_directory() {
    if (const char* directory = std::getenv("TMPDIR"))
        return directory;
    struct stat info {};
    return ::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
}

const std::string& input_path() {
    static const std::string path = [] {
        std::string pattern = temporary_directory() + "/kelvox-fuzz-XXXXXX.rar";
        const int fd = ::mkstemps(pattern.data(), 4);
        if (fd >= 0) {
            ::close(fd);
            // A plain copy: the string itself is destroyed before handlers registered earlier run.
            static char to_remove[4096];
            pattern.copy(to_remove, sizeof to_remove - 1);
            std::atexit([] { ::unlink(to_remove); });
        }
        return pattern;
    }();
    return path;
}

bool write_input(const uint8_t* data, size_t size) {
    const int fd = ::open(input_path().c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0)
        return false;
    bool ok = true;
    while (size > 0 && ok) {
        const ssize_t done = ::write(fd, data, size);
        ok = done > 0;
        if (ok) {
            data += done;
            size -= static_cast<size_t>(done);
        }
    }
    ::close(fd);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!write_input(data, size))
        return 0;
    std::string name = input_path();
    char comment[256];
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    open.CmtBuf = comment;
    open.CmtBufSize = sizeof comment;
    void* archive = RAROpenArchive(&open);
    if (archive == nullptr)
        return 0;
    RARSetChangeVolProc(archive, refuse_volumes);
    RARHeaderData header{};
    for (int i = 0; i < 1000 && RARReadHeader(archive, &header) == ERAR_SUCCESS; ++i) {
        const bool stored = header.Method == 0x30 && (header.Flags & 0xE0) != 0xE0;
        RARProcessFile(archive, stored ? RAR_TEST : RAR_SKIP, nullptr, nullptr);
    }
    RARCloseArchive(archive);
    return 0;
}
