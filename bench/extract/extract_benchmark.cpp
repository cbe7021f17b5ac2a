// Times extracting the fixture volume sets through the module beside unar on the same archives, after
// checking that both give the same files. Each set is copied to a temporary directory first; every
// time is the best of a few runs. The last line is "extract/unar=<our time / unar's>" for the
// largest set.
#include "unrar/unrar.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Set {
    std::string folder, first;
};

const Set sets[] = {
    {"libarchive/rar4-vol-compressed", "test_read_format_rar_multivolume.part0001.rar"},
    {"libarchive/rar5-vol", "test_read_format_rar5_multiarchive.part01.rar"},
    {"libarchive/rar5-multi", "test_read_format_rar5_multiple_files.rar"},
};
constexpr int runs = 3;

fs::path shared_dir() {
    const char* shared = std::getenv("KELVOX_SHARED_DIR");
    return shared != nullptr ? fs::path(shared) : fs::path(KELVOX_DEFAULT_SHARED_DIR);
}

bool extract_with_module(const fs::path& archive, const fs::path& out) {
    std::string name = archive.string();
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    if (handle == nullptr)
        return false;
    std::string dest = out.string();
    RARHeaderData header{};
    bool ok = true;
    int code;
    while ((code = RARReadHeader(handle, &header)) == ERAR_SUCCESS)
        ok = RARProcessFile(handle, RAR_EXTRACT, dest.data(), nullptr) == ERAR_SUCCESS && ok;
    RARCloseArchive(handle);
    return ok && code == ERAR_END_ARCHIVE;
}

bool extract_with_unar(const fs::path& archive, const fs::path& out) {
    const std::string command =
        "unar -q -f -D -o '" + out.string() + "' '" + archive.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Relative path -> CRC of the content (or "link:" and the target), for comparing two extractions.
std::map<std::string, std::string> contents(const fs::path& root) {
    std::map<std::string, std::string> seen;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = fs::relative(it->path(), root).string();
        if (it->is_symlink()) {
            seen[relative] = "link:" + fs::read_symlink(it->path()).string();
        } else if (it->is_regular_file()) {
            std::ifstream in(it->path(), std::ios::binary);
            std::vector<char> buffer(1 << 20);
            uLong crc = crc32(0, Z_NULL, 0);
            while (in) {
                in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                crc =
                    crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(in.gcount()));
            }
            seen[relative] = std::to_string(crc);
        } else if (it->is_directory()) {
            seen[relative] = "dir";
        }
    }
    return seen;
}

template <typename Extract>
double best_seconds(Extract extract, const fs::path& archive, const fs::path& out) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        fs::remove_all(out);
        fs::create_directories(out);
        const auto start = std::chrono::steady_clock::now();
        if (!extract(archive, out))
            return -1;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main() {
    const fs::path fixtures = shared_dir() / "fixtures" / "rar";
    if (!fs::is_directory(fixtures)) {
        std::fprintf(stderr, "no fixtures under %s\n", fixtures.c_str());
        return 1;
    }
    const fs::path work = fs::temp_directory_path() / ("kelvox-bench-extract-" + std::to_string(::getpid()));
    double ratio = 0;
    bool ok = true;
    for (const Set& set : sets) {
        const fs::path copy = work / "archive";
        fs::remove_all(work);
        fs::create_directories(copy);
        fs::copy(fixtures / set.folder, copy, fs::copy_options::recursive);
        const fs::path archive = copy / set.first;
        const double ours = best_seconds(extract_with_module, archive, work / "module");
        const double theirs = best_seconds(extract_with_unar, archive, work / "unar");
        const bool same = ours >= 0 && theirs >= 0 && contents(work / "module") == contents(work / "unar");
        ok = ok && same;
        std::printf("%-32s module %.3f s  unar %.3f s  ratio %.2f  %s\n", set.folder.c_str(), ours, theirs,
                    ours / theirs, same ? "same output" : "OUTPUT DIFFERS");
        if (&set == &sets[0])
            ratio = ours / theirs;
    }
    fs::remove_all(work);
    std::printf("extract/unar=%.2f\n", ratio);
    return ok ? 0 : 1;
}
