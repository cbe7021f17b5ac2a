#include "tests/unrar/rar_test_support.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kelvox::testing {

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("kelvox-unrar-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            path_ = candidate;
    }
    if (path_.empty())
        throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path utf8_path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::filesystem::path rar_fixtures() {
    const char* shared = std::getenv("KELVOX_SHARED_DIR");
    if (shared == nullptr)
        return {};
    const std::filesystem::path fixtures = std::filesystem::path(shared) / "fixtures" / "rar";
    return std::filesystem::is_directory(fixtures) ? fixtures : std::filesystem::path();
}

std::uint32_t crc_of(const std::vector<unsigned char>& bytes) {
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

std::vector<unsigned char> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t file_crc(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    uLong crc = crc32(0, Z_NULL, 0);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(in.gcount()));
    }
    return static_cast<std::uint32_t>(crc);
}

void write_file(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::string> tree_of(const std::filesystem::path& root) {
    std::vector<std::string> paths;
    for (auto it = std::filesystem::recursive_directory_iterator(root);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        const std::u8string path = std::filesystem::relative(it->path(), root).generic_u8string();
        paths.emplace_back(path.begin(), path.end());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

StoredRarEntry stored_file(const std::string& name, const std::string& data, unsigned host_os) {
    StoredRarEntry entry;
    entry.name = name;
    entry.data = bytes_of(data);
    entry.host_os = host_os;
    return entry;
}

Archive::Archive(const std::string& path, unsigned mode, unsigned comment_size)
    : name_(path.begin(), path.end()), comment_(comment_size + 1, '\0') {
    name_.push_back('\0');
    data_.ArcName = name_.data();
    data_.OpenMode = mode;
    data_.CmtBuf = comment_size > 0 ? comment_.data() : nullptr;
    data_.CmtBufSize = comment_size;
    handle_ = RAROpenArchive(&data_);
}

Archive::~Archive() {
    if (handle_ != nullptr)
        RARCloseArchive(handle_);
}

int Archive::read(Listed& entry) {
    RARHeaderData header{};
    std::vector<char> comment(65536);
    header.CmtBuf = comment.data();
    header.CmtBufSize = static_cast<unsigned>(comment.size());
    const int code = RARReadHeader(handle_, &header);
    if (code == 0)
        entry = {header.ArcName, header.FileName, header.Flags,   header.PackSize,
                 header.UnpSize, header.HostOS,   header.FileCRC, header.FileTime,
                 header.UnpVer,  header.Method,   header.FileAttr};
    return code;
}

int Archive::process(int operation, const std::string& dest_path, const std::string& dest_name) {
    std::vector<char> path(dest_path.begin(), dest_path.end());
    std::vector<char> name(dest_name.begin(), dest_name.end());
    path.push_back('\0');
    name.push_back('\0');
    return RARProcessFile(handle_, operation, dest_path.empty() ? nullptr : path.data(),
                          dest_name.empty() ? nullptr : name.data());
}

int Archive::walk(std::vector<Listed>& entries, std::vector<int>& codes, int operation,
                  const std::string& dest_path) {
    for (;;) {
        Listed entry{};
        const int code = read(entry);
        if (code != 0)
            return code;
        entries.push_back(entry);
        codes.push_back(process(operation, dest_path));
    }
}

int Archive::close() {
    const int code = RARCloseArchive(handle_);
    handle_ = nullptr;
    return code;
}

} // namespace kelvox::testing
