#include "actions/un_rar.h"

#include "platform/disc_path.h"
#include "unrar/unrar.h"

#include <QFile>

#include <cstring>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kelvox {

namespace {

const QString kVolumePromptTitle = QStringLiteral("Insert new disk");
const QString kModuleName = QStringLiteral("UNRAR");
constexpr unsigned int kCommentBufferSize = 65536;

using OpenArchiveFunction = decltype(&RAROpenArchive);
using OpenArchiveExFunction = decltype(&RAROpenArchiveEx);
using CloseArchiveFunction = decltype(&RARCloseArchive);
using SetCallbackFunction = decltype(&RARSetCallback);
using ProcessFileFunction = decltype(&RARProcessFile);
using ProcessFileWFunction = decltype(&RARProcessFileW);
using SetChangeVolProcFunction = decltype(&RARSetChangeVolProc);
using SetPasswordFunction = decltype(&RARSetPassword);

// The text of a zero-terminated buffer the library filled, never reading past its end.
QString text_of(const char* buffer, std::size_t size) {
    return QString::fromLocal8Bit(buffer, qsizetype(strnlen(buffer, size)));
}

QString file_name_of(const char* buffer, std::size_t size) {
    return QFile::decodeName(QByteArray(buffer, qsizetype(strnlen(buffer, size))));
}

QString file_name_of(const wchar_t* buffer, std::size_t size) {
    return QString::fromWCharArray(buffer, qsizetype(wcsnlen(buffer, size)));
}

// The wide name where the library gave one: the narrow one is in the system's code page, which on
// Windows has no room for most Polish letters.
QString file_name_of(const char* narrow, const wchar_t* wide, std::size_t size) {
    return wide[0] != L'\0' ? file_name_of(wide, size) : file_name_of(narrow, size);
}

QString archive_name_in(const RARHeaderData& header) {
    return file_name_of(header.ArcName, sizeof header.ArcName);
}

QString archive_name_in(const RARHeaderDataEx& header) {
    return file_name_of(header.ArcName, header.ArcNameW, std::size(header.ArcNameW));
}

QString file_name_in(const RARHeaderData& header) {
    return file_name_of(header.FileName, sizeof header.FileName);
}

QString file_name_in(const RARHeaderDataEx& header) {
    return file_name_of(header.FileName, header.FileNameW, std::size(header.FileNameW));
}

// Null for an empty text, as the library takes "no destination".
char* bytes_or_null(QByteArray& bytes) {
    return bytes.isEmpty() ? nullptr : bytes.data();
}

wchar_t* wide_or_null(std::wstring& text) {
    return text.empty() ? nullptr : text.data();
}

// The menu keeps paths in the disc's form; the library takes the file system's.
QByteArray library_path(const QString& disc_path) {
    return QFile::encodeName(native_path(disc_path));
}

std::wstring wide_library_path(const QString& disc_path) {
    return native_path(disc_path).toStdWString();
}

} // namespace

// The library's volume callback carries no context of its own, so the component whose library call is in
// progress is remembered for the length of the call. Calls nest (a volume dialog may run a message loop in
// which another component is used), so each call restores the one before it.
class LibraryCall {
public:
    explicit LibraryCall(TUnRar& caller) : previous_(current_) { current_ = &caller; }
    ~LibraryCall() { current_ = previous_; }
    LibraryCall(const LibraryCall&) = delete;
    LibraryCall& operator=(const LibraryCall&) = delete;

    static int RAR_API volume_callback(char* name, int mode) {
        if (mode == RAR_VOL_NOTIFY)
            return 1;
        if (mode != RAR_VOL_ASK || !current_ || !name)
            return 0;
        // Nothing may unwind through the library's frames.
        try {
            return current_->ask_for_volume(name);
        } catch (...) {
            return 0;
        }
    }

    // The newer callback carries the component in its user value.
    static int RAR_API library_callback(unsigned int message, LPARAM user_data, LPARAM p1, LPARAM p2) {
        auto* unrar = reinterpret_cast<TUnRar*>(user_data);
        if (!unrar)
            return -1;
        // Nothing may unwind through the library's frames: a failure here cancels.
        try {
            return unrar->answer_library(message, std::intptr_t(p1), std::intptr_t(p2));
        } catch (...) {
            return -1;
        }
    }

private:
    TUnRar* previous_;
    static thread_local TUnRar* current_;
};

thread_local TUnRar* LibraryCall::current_ = nullptr;

TUnRar::TUnRar(FileDialogs& dialogs, LibraryLoader loader) : dialogs_(dialogs), loader_(std::move(loader)) {}

TUnRar::~TUnRar() {
    if (archive_open_) {
        try {
            Close();
        } catch (const EUnRarError&) {
            // A destructor cannot report; Close has already released what it could.
        }
    }
    library_.reset();
}

bool TUnRar::fail(std::uint8_t status) {
    status_ = status;
    if (exception_on_error_)
        throw EUnRarError(status);
    return false;
}

void TUnRar::forget_library() {
    library_.reset();
}

void TUnRar::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TUnRar::SetPassword(const QString& password) {
    password_ = password;
    if (!archive_open_)
        return;
    if (auto set_password = entry_point<SetPasswordFunction>("RARSetPassword")) {
        QByteArray bytes = password_.toLocal8Bit();
        set_password(archive_, bytes.data());
    }
}

bool TUnRar::Open() {
    if (archive_open_)
        return fail(unrar_status::OpenError);
    library_ = loader_(kModuleName);
    if (!library_)
        return fail(unrar_status::NoLibrary);
    const auto open_archive = entry_point<OpenArchiveFunction>("RAROpenArchive");
    const auto set_password = entry_point<SetPasswordFunction>("RARSetPassword");
    const auto set_change_vol_proc = entry_point<SetChangeVolProcFunction>("RARSetChangeVolProc");
    if (!open_archive || !set_password || !set_change_vol_proc)
        return fail(unrar_status::NoLibrary);

    QByteArray name = library_path(archive_name_);
    std::wstring wide_name = wide_library_path(archive_name_);
    std::vector<char> comment(kCommentBufferSize, '\0');
    unsigned int open_result = 0;
    unsigned int comment_state = 0;
    const auto open_with = [&](auto open, auto& data) {
        data.ArcName = name.data();
        data.OpenMode = extract_ ? RAR_OM_EXTRACT : RAR_OM_LIST;
        data.CmtBuf = comment.data();
        data.CmtBufSize = kCommentBufferSize;
        LibraryCall call(*this);
        void* opened = open(&data);
        open_result = data.OpenResult;
        comment_state = data.CmtState;
        return opened;
    };
    status_ = unrar_status::OpenError;
    void* archive = nullptr;
    // Older builds of the library know only the narrow name.
    const auto open_archive_ex = entry_point<OpenArchiveExFunction>("RAROpenArchiveEx");
    wide_names_ = open_archive_ex != nullptr;
    if (wide_names_) {
        RAROpenArchiveDataEx data{};
        data.ArcNameW = wide_name.data();
        archive = open_with(open_archive_ex, data);
    } else {
        RAROpenArchiveData data{};
        archive = open_with(open_archive, data);
    }
    comment_ = text_of(comment.data(), comment.size());
    if (const auto status = translate_open_result(open_result))
        status_ = *status;
    if (const auto state = translate_comment_state(comment_state))
        comment_state_ = *state;

    if (!archive) {
        eof_ = true;
        archive_open_ = false;
        // No handle is a failure even when the library left OpenResult at success.
        if (status_ == unrar_status::Success)
            status_ = unrar_status::OpenError;
        return fail(status_);
    }
    archive_ = archive;
    eof_ = false;
    archive_open_ = true;
    if (!password_.isEmpty()) {
        QByteArray password = password_.toLocal8Bit();
        set_password(archive_, password.data());
    }
    if (const auto set_callback = entry_point<SetCallbackFunction>("RARSetCallback"))
        set_callback(archive_, &LibraryCall::library_callback, reinterpret_cast<LPARAM>(this));
    else
        set_change_vol_proc(archive_, &LibraryCall::volume_callback);
    return ReadHeader();
}

namespace {

std::uint64_t size_of(const RARHeaderData& header, unsigned int RARHeaderData::*low) {
    return header.*low;
}

std::uint64_t size_of(const RARHeaderDataEx& header, unsigned int RARHeaderDataEx::*low) {
    const unsigned int high = low == &RARHeaderDataEx::PackSize ? header.PackSizeHigh : header.UnpSizeHigh;
    return (std::uint64_t(high) << 32) | header.*low;
}

} // namespace

template <typename Header> void TUnRar::take_header(const Header& header, const QString& comment) {
    archive_name_ = archive_name_in(header);
    file_name_ = file_name_in(header);
    file_flags_ = decode_file_flags(header.Flags);
    dictionary_size_ = decode_dictionary_size(header.Flags);
    pack_size_ = size_of(header, &Header::PackSize);
    unp_size_ = size_of(header, &Header::UnpSize);
    if (header.HostOS <= 3)
        host_os_ = std::uint8_t(header.HostOS);
    file_crc_ = header.FileCRC;
    file_time_ = header.FileTime;
    unp_ver_ = header.UnpVer;
    method_ = header.Method;
    file_attr_ = header.FileAttr;
    if (const auto state = translate_comment_state(header.CmtState))
        file_comment_state_ = *state;
    file_comment_ = comment;
}

// -1 when the library lacks the entry point.
template <typename Header> int TUnRar::read_header_with(const char* entry_name, Header& header) {
    using Function = int(RAR_API*)(void*, Header*);
    const auto read_header = entry_point<Function>(entry_name);
    if (!read_header)
        return -1;
    std::vector<char> comment(kCommentBufferSize, '\0');
    header.CmtBuf = comment.data();
    header.CmtBufSize = kCommentBufferSize;
    int result = 0;
    {
        LibraryCall call(*this);
        result = read_header(archive_, &header);
    }
    if (result == ERAR_SUCCESS)
        take_header(header, text_of(comment.data(), comment.size()));
    return result;
}

bool TUnRar::ReadHeader() {
    if (!archive_open_)
        return fail(unrar_status::OpenError);
    // The record is large (four kilobytes of names and a reserved tail the library may use later).
    auto header_ex = std::make_unique<RARHeaderDataEx>();
    int result = read_header_with("RARReadHeaderEx", *header_ex);
    if (result == -1) {
        RARHeaderData header{};
        result = read_header_with("RARReadHeader", header);
    }
    if (result == -1) {
        forget_library();
        return fail(unrar_status::NoLibrary);
    }
    if (result == ERAR_SUCCESS) {
        status_ = unrar_status::Success;
        return true;
    }
    if (result == ERAR_END_ARCHIVE) {
        // The end is not a failure: nothing is raised.
        status_ = unrar_status::EndOfFile;
        eof_ = true;
        return false;
    }
    return fail(unrar_status::BadData);
}

bool TUnRar::Process(TRarOperation operation, const QString& dest_name) {
    if (!archive_open_)
        return fail(unrar_status::OpenError);
    if (eof_) {
        status_ = unrar_status::EndOfFile;
        return false;
    }
    const auto process_file = entry_point<ProcessFileFunction>("RARProcessFile");
    if (!process_file) {
        forget_library();
        return fail(unrar_status::NoLibrary);
    }
    int result = 0;
    const auto process_file_w = wide_names_ ? entry_point<ProcessFileWFunction>("RARProcessFileW") : nullptr;
    if (process_file_w) {
        std::wstring dest_path = wide_library_path(dest_path_);
        std::wstring name = wide_library_path(dest_name);
        LibraryCall call(*this);
        result = process_file_w(archive_, int(operation), wide_or_null(dest_path), wide_or_null(name));
    } else {
        QByteArray dest_path = library_path(dest_path_);
        QByteArray name = library_path(dest_name);
        LibraryCall call(*this);
        result = process_file(archive_, int(operation), bytes_or_null(dest_path), bytes_or_null(name));
    }
    if (result == ERAR_SUCCESS)
        return ReadHeader();
    return fail(translate_process_result(result));
}

bool TUnRar::Close() {
    if (!archive_open_)
        return fail(unrar_status::CloseError);
    archive_open_ = false;
    eof_ = true;
    const auto close_archive = entry_point<CloseArchiveFunction>("RARCloseArchive");
    if (!close_archive) {
        forget_library();
        return fail(unrar_status::NoLibrary);
    }
    int result = 0;
    {
        LibraryCall call(*this);
        result = close_archive(archive_);
    }
    archive_ = nullptr;
    forget_library();
    if (result == ERAR_SUCCESS) {
        status_ = unrar_status::Success;
        return true;
    }
    return fail(unrar_status::CloseError);
}

int TUnRar::answer_library(unsigned message, std::intptr_t p1, std::intptr_t p2) {
    switch (message) {
    case UCM_CHANGEVOLUME:
        if (p2 == RAR_VOL_NOTIFY)
            return 1;
        return p2 == RAR_VOL_ASK && p1 != 0 && ask_for_volume(reinterpret_cast<char*>(p1)) > 0 ? 1 : -1;
    case UCM_CHANGEVOLUMEW:
        if (p2 == RAR_VOL_NOTIFY)
            return 1;
        return p2 == RAR_VOL_ASK && p1 != 0 && ask_for_volume(reinterpret_cast<wchar_t*>(p1)) > 0 ? 1 : -1;
    case UCM_PROCESSDATA:
        return !on_process_data_ || on_process_data_(std::size_t(p2)) ? 1 : -1;
    case UCM_NEEDPASSWORD: {
        const QByteArray password = password_.toLocal8Bit();
        // A cut password would be a wrong one.
        if (password.isEmpty() || p1 == 0 || password.size() >= p2)
            return -1;
        std::memcpy(reinterpret_cast<char*>(p1), password.constData(), std::size_t(password.size()) + 1);
        return 1;
    }
    default:
        return 0;
    }
}

std::optional<QString> TUnRar::pick_volume(const QString& offered) {
    const QString picked = dialogs_.open_file(kVolumePromptTitle, offered);
    if (picked.isEmpty())
        return std::nullopt;
    return picked;
}

// A cut path would name another file: a pick that does not fit is treated as a cancel.
int TUnRar::ask_for_volume(char* name) {
    const auto picked = pick_volume(file_name_of(name, kVolumeNameSize));
    const QByteArray bytes = picked ? QFile::encodeName(*picked) : QByteArray();
    if (bytes.isEmpty() || bytes.size() >= kVolumeNameSize)
        return 0;
    std::memcpy(name, bytes.constData(), std::size_t(bytes.size()));
    name[bytes.size()] = '\0';
    return 1;
}

int TUnRar::ask_for_volume(wchar_t* name) {
    const auto picked = pick_volume(file_name_of(name, kVolumeNameSize));
    const std::wstring wide = picked ? picked->toStdWString() : std::wstring();
    if (wide.empty() || wide.size() >= std::size_t(kVolumeNameSize))
        return 0;
    std::wmemcpy(name, wide.data(), wide.size());
    name[wide.size()] = L'\0';
    return 1;
}

} // namespace kelvox
