#pragma once
// TUnRar walks a RAR archive file by file through the RAR extraction library, which it loads (by the
// module name "UNRAR") only while an archive is open. After every operation Status says what happened;
// failures raise EUnRarError when ExceptionOnError is set and only set Status otherwise. ArchiveName,
// DestPath and destination names are disc paths (platform/disc_path.h), translated for the library.
// A library that has the callback entry point reports the data it unpacks to OnProcessData while a file
// is processed; one without it (and without the header with 64-bit sizes) is used as before.
#include "actions/un_rar_status.h"
#include "platform/dynamic_library.h"
#include "platform/file_dialogs.h"
#include "platform/platform_error.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace kelvox {

enum class TRarOperation { Skip = 0, Test = 1, Extract = 2 };

class EUnRarError : public PlatformError {
public:
    explicit EUnRarError(std::uint8_t status) : PlatformError(unrar_status_text(status)), status_(status) {}
    std::uint8_t status() const noexcept { return status_; }

private:
    std::uint8_t status_;
};

class TUnRar {
public:
    // The dialogs answer the library's question for a missing volume; the loader finds the library.
    explicit TUnRar(FileDialogs& dialogs, LibraryLoader loader = &DynamicLibrary::load);
    TUnRar(const TUnRar&) = delete;
    TUnRar& operator=(const TUnRar&) = delete;
    // Closes an archive still open (without raising) and unloads the library.
    ~TUnRar();

    const QString& ArchiveName() const { return archive_name_; }
    void SetArchiveName(const QString& name) { archive_name_ = name; }
    bool Extract() const { return extract_; }
    void SetExtract(bool extract) { extract_ = extract; }
    const QString& Password() const { return password_; }
    void SetPassword(const QString& password);
    const QString& DestPath() const { return dest_path_; }
    void SetDestPath(const QString& path) { dest_path_ = path; }
    bool ExceptionOnError() const { return exception_on_error_; }
    void SetExceptionOnError(bool raise) { exception_on_error_ = raise; }
    // Called with the count of bytes just unpacked, at least every MiB of a file being processed; answering
    // false cancels the file (Process then fails with UnknownError and nothing of the file is left).
    using ProcessDataHandler = std::function<bool(std::size_t bytes)>;
    void SetOnProcessData(ProcessDataHandler handler) { on_process_data_ = std::move(handler); }
    bool Active() const { return archive_open_; }
    void SetActive(bool active);

    bool ArchiveOpen() const { return archive_open_; }
    bool Eof() const { return eof_; }
    std::uint8_t Status() const { return status_; }
    const QString& Comment() const { return comment_; }
    std::uint8_t CommentState() const { return comment_state_; }
    const QString& FileName() const { return file_name_; }
    TRarFileFlags FileFlags() const { return file_flags_; }
    std::uint32_t DictionarySize() const { return dictionary_size_; }
    // 64-bit where the library gives the high halves.
    std::uint64_t PackSize() const { return pack_size_; }
    std::uint64_t UnpSize() const { return unp_size_; }
    std::uint8_t HostOS() const { return host_os_; }
    std::uint32_t FileCRC() const { return file_crc_; }
    std::uint32_t FileTime() const { return file_time_; }
    std::uint32_t UnpVer() const { return unp_ver_; }
    std::uint32_t Method() const { return method_; }
    std::uint32_t FileAttr() const { return file_attr_; }
    const QString& FileComment() const { return file_comment_; }
    std::uint8_t FileCommentState() const { return file_comment_state_; }

    // Opens ArchiveName and reads the first file header.
    bool Open();
    // Reads the next file header.
    bool ReadHeader();
    // Skips, tests or extracts the current file (to dest_name, or under DestPath when it is empty) and
    // reads the next header.
    bool Process(TRarOperation operation, const QString& dest_name);
    // Closes the archive and unloads the library.
    bool Close();

    // The characters the volume callback may write into the library's name buffer, the terminating zero
    // included: the size of a file name in the library's records, which every build of the library
    // gives its name buffer at the least.
    static constexpr int kVolumeNameSize = 260;

private:
    bool fail(std::uint8_t status);
    template <typename Function> Function entry_point(const char* name) const {
        return library_ ? library_->entry_point<Function>(name) : nullptr;
    }
    template <typename Header> void take_header(const Header& header, const QString& comment);
    template <typename Header> int read_header_with(const char* entry_name, Header& header);
    void forget_library();
    std::optional<QString> pick_volume(const QString& offered);
    int ask_for_volume(char* name);
    int ask_for_volume(wchar_t* name);
    int answer_library(unsigned message, std::intptr_t p1, std::intptr_t p2);

    FileDialogs& dialogs_;
    LibraryLoader loader_;
    std::unique_ptr<DynamicLibrary> library_;
    void* archive_ = nullptr;

    QString archive_name_;
    bool extract_ = false;
    QString password_;
    QString dest_path_;
    bool exception_on_error_ = true;
    ProcessDataHandler on_process_data_;

    bool archive_open_ = false;
    bool wide_names_ = false; // opened through the wide entry point
    bool eof_ = true;
    std::uint8_t status_ = unrar_status::None;
    QString comment_;
    std::uint8_t comment_state_ = 0;
    QString file_name_;
    TRarFileFlags file_flags_;
    std::uint32_t dictionary_size_ = 0;
    std::uint64_t pack_size_ = 0;
    std::uint64_t unp_size_ = 0;
    std::uint8_t host_os_ = 0;
    std::uint32_t file_crc_ = 0;
    std::uint32_t file_time_ = 0;
    std::uint32_t unp_ver_ = 0;
    std::uint32_t method_ = 0;
    std::uint32_t file_attr_ = 0;
    QString file_comment_;
    std::uint8_t file_comment_state_ = 0;

    friend class LibraryCall;
};

} // namespace kelvox
