// Helpers shared by the RAR module's tests: temporary directories, CRCs of written files, and a thin
// RAII layer over the C interface so that each test reads as the calls a caller makes.
#pragma once

#include "tools/rar_writer/rar_blocks.h"
#include "tools/rar_writer/stored_rar_writer.h"
#include "unrar/unrar.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvox::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

#ifdef _WIN32
constexpr bool on_windows = true;
#else
constexpr bool on_windows = false;
#endif

// A name of the module's (UTF-8) as a path: on Windows a narrow string would be read in the ANSI code page.
std::filesystem::path utf8_path(const std::string& name);

// ../shared/fixtures/rar, or empty when the shared folder is not there.
std::filesystem::path rar_fixtures();

std::uint32_t crc_of(const std::vector<unsigned char>& bytes);
std::uint32_t file_crc(const std::filesystem::path& path);
std::vector<unsigned char> read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> bytes_of(const std::string& text);
// Every path under `root`, relative to it, in UTF-8 with '/' between names, sorted (links are listed,
// never followed).
std::vector<std::string> tree_of(const std::filesystem::path& root);

StoredRarEntry stored_file(const std::string& name, const std::string& data, unsigned host_os = 2);

struct Listed {
    std::string arc_name;
    std::string name;
    unsigned flags, pack_size, unp_size, host_os, crc, time, unp_ver, method, attributes;
};

class Archive {
public:
    explicit Archive(const std::string& path, unsigned mode = RAR_OM_EXTRACT, unsigned comment_size = 65536);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool is_open() const { return handle_ != nullptr; }
    unsigned open_result() const { return data_.OpenResult; }
    const RAROpenArchiveData& open_data() const { return data_; }
    std::string comment() const { return std::string(comment_.data()); }
    void set_callback(CHANGEVOLPROC callback) { RARSetChangeVolProc(handle_, callback); }

    int read(Listed& entry);
    int process(int operation, const std::string& dest_path = "", const std::string& dest_name = "");
    // Reads every header, doing `operation` on each; returns the code that ended the walk.
    int walk(std::vector<Listed>& entries, std::vector<int>& codes, int operation,
             const std::string& dest_path = "");
    int close();
    // The archive was closed behind this object's back (from inside a callback).
    void forget() { handle_ = nullptr; }
    void* handle() const { return handle_; }

private:
    void* handle_ = nullptr;
    std::vector<char> name_;
    std::vector<char> comment_;
    RAROpenArchiveData data_{};
};

} // namespace kelvox::testing
