// The C entry points. Every call catches what the module throws and turns it into an ERAR_* code; a
// call made from inside a callback on the same archive is refused, and a close made from there ends
// the operation in progress and frees the archive once that operation has unwound.
#include "unrar/unrar.h"

#include "unrar/archive_comment.h"
#include "unrar/archive_reader.h"
#include "unrar/client_callback.h"
#include "unrar/entry_processor.h"
#include "unrar/names.h"
#include "unrar/rar_error.h"

#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>

namespace kelvox::unrar {
namespace {

struct ArchiveHandle {
    ClientCallback client;
    std::unique_ptr<ArchiveReader> reader;
    std::unique_ptr<EntryProcessor> processor;
    bool extract_mode = false;
    std::string password; // kept for the caller's sake: nothing here decrypts
    Entry current;
    bool has_current = false;
    bool ended = false;
    bool busy = false;
    bool close_requested = false;
};

template <typename Action> int run_code(Action action) {
    try {
        action();
        return ERAR_SUCCESS;
    } catch (const RarError& error) {
        return error.code;
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    } catch (...) {
        return ERAR_UNKNOWN;
    }
}

template <typename Action> int guarded(void* raw, Action action) {
    auto* handle = static_cast<ArchiveHandle*>(raw);
    if (handle == nullptr)
        return ERAR_BAD_ARCHIVE;
    if (handle->busy)
        return ERAR_UNKNOWN;
    handle->busy = true;
    int code = run_code([&] { action(*handle); });
    handle->busy = false;
    if (handle->close_requested) {
        delete handle;
        if (code == ERAR_SUCCESS)
            code = ERAR_EOPEN;
    }
    return code;
}

void copy_text(char* out, std::size_t capacity, const std::string& text) {
    const std::string cut = utf8_prefix(text, capacity - 1);
    std::memcpy(out, cut.data(), cut.size());
    out[cut.size()] = '\0';
}

// Cut on a character boundary: a lone half of a surrogate pair (16-bit wchar_t) is left out.
void copy_wide(wchar_t* out, std::size_t capacity, const std::string& text) {
    std::wstring wide = utf8_to_wide(utf8_prefix(text, capacity - 1));
    if (wide.size() > capacity - 1)
        wide.resize(capacity - 1);
    if (sizeof(wchar_t) == 2 && !wide.empty() && wide.back() >= 0xD800 && wide.back() < 0xDC00)
        wide.pop_back();
    std::wmemcpy(out, wide.data(), wide.size());
    out[wide.size()] = L'\0';
}

unsigned clamp32(std::uint64_t value) {
    return value > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max()
                                                        : static_cast<unsigned>(value);
}

const std::string& volume_name(const ArchiveHandle& handle) {
    return handle.reader->volumes().name(handle.current.parts.front().volume);
}

// The fields both records share, by name.
template <typename Header> void fill_common(const Entry& entry, Header& data) {
    data.Flags = entry.flags;
    data.HostOS = entry.host_os;
    data.FileCRC = entry.crc;
    data.FileTime = entry.dos_time;
    data.UnpVer = entry.unpack_version;
    data.Method = entry.method;
    data.FileAttr = entry.attributes;
    // File comments are not read: no archive this module meets carries them.
    data.CmtSize = 0;
    data.CmtState = 0;
}

void fill_header(const ArchiveHandle& handle, RARHeaderData& data) {
    const Entry& entry = handle.current;
    copy_text(data.ArcName, sizeof data.ArcName, volume_name(handle));
    copy_text(data.FileName, sizeof data.FileName, entry.name);
    fill_common(entry, data);
    data.PackSize = clamp32(entry.packed_size);
    data.UnpSize = clamp32(entry.unpacked_size);
}

void fill_header_ex(const ArchiveHandle& handle, RARHeaderDataEx& data) {
    const Entry& entry = handle.current;
    constexpr std::size_t name_size = sizeof data.ArcName;
    copy_text(data.ArcName, name_size, volume_name(handle));
    copy_wide(data.ArcNameW, name_size, volume_name(handle));
    copy_text(data.FileName, name_size, entry.name);
    copy_wide(data.FileNameW, name_size, entry.name);
    fill_common(entry, data);
    data.PackSize = static_cast<unsigned>(entry.packed_size & 0xFFFFFFFFu);
    data.PackSizeHigh = static_cast<unsigned>(entry.packed_size >> 32);
    data.UnpSize = static_cast<unsigned>(entry.unpacked_size & 0xFFFFFFFFu);
    data.UnpSizeHigh = static_cast<unsigned>(entry.unpacked_size >> 32);
}

void skip_current(ArchiveHandle& handle) {
    handle.has_current = false;
    if (handle.extract_mode)
        handle.processor->skip(handle.current);
}

// A header read twice in a row passes over the entry in between.
void read_next(ArchiveHandle& handle) {
    if (handle.has_current)
        skip_current(handle);
    if (handle.ended || !handle.reader->next(handle.current)) {
        handle.ended = true;
        fail(ERAR_END_ARCHIVE);
    }
    handle.has_current = true;
}

} // namespace
} // namespace kelvox::unrar

using namespace kelvox::unrar;

extern "C" {

RAR_EXPORT void* RAR_API RAROpenArchive(struct RAROpenArchiveData* ArchiveData) {
    if (ArchiveData == nullptr)
        return nullptr;
    ArchiveData->CmtSize = 0;
    ArchiveData->CmtState = 0;
    ArchiveHandle* opened = nullptr;
    ArchiveData->OpenResult = static_cast<unsigned>(run_code([&] {
        if (ArchiveData->ArcName == nullptr)
            fail(ERAR_EOPEN);
        auto handle = std::make_unique<ArchiveHandle>();
        handle->reader = std::make_unique<ArchiveReader>(ArchiveData->ArcName);
        handle->reader->volumes().set_abort_flag(&handle->close_requested);
        handle->processor =
            std::make_unique<EntryProcessor>(*handle->reader, handle->client, &handle->close_requested);
        handle->extract_mode = ArchiveData->OpenMode == RAR_OM_EXTRACT;
        hand_over_comment(read_archive_comment(*handle->reader), ArchiveData->CmtBuf, ArchiveData->CmtBufSize,
                          ArchiveData->CmtSize, ArchiveData->CmtState);
        opened = handle.release();
    }));
    return opened;
}

RAR_EXPORT int RAR_API RARCloseArchive(void* hArcData) {
    auto* handle = static_cast<ArchiveHandle*>(hArcData);
    if (handle == nullptr)
        return ERAR_ECLOSE;
    if (handle->busy) {
        handle->close_requested = true;
        return ERAR_SUCCESS;
    }
    delete handle;
    return ERAR_SUCCESS;
}

RAR_EXPORT int RAR_API RARReadHeader(void* hArcData, struct RARHeaderData* HeaderData) {
    if (HeaderData == nullptr)
        return ERAR_UNKNOWN;
    return guarded(hArcData, [&](ArchiveHandle& handle) {
        read_next(handle);
        fill_header(handle, *HeaderData);
    });
}

RAR_EXPORT int RAR_API RARReadHeaderEx(void* hArcData, struct RARHeaderDataEx* HeaderData) {
    if (HeaderData == nullptr)
        return ERAR_UNKNOWN;
    return guarded(hArcData, [&](ArchiveHandle& handle) {
        read_next(handle);
        fill_header_ex(handle, *HeaderData);
    });
}

RAR_EXPORT int RAR_API RARProcessFile(void* hArcData, int Operation, char* DestPath, char* DestName) {
    return guarded(hArcData, [&](ArchiveHandle& handle) {
        if (!handle.has_current)
            fail(handle.ended ? ERAR_END_ARCHIVE : ERAR_UNKNOWN);
        handle.has_current = false;
        Entry& entry = handle.current;
        // Opened for listing, nothing is decoded or written whatever the operation.
        if (!handle.extract_mode || Operation == RAR_SKIP) {
            skip_current(handle);
            return;
        }
        if (Operation == RAR_TEST)
            handle.processor->test(entry);
        else if (Operation == RAR_EXTRACT)
            handle.processor->extract(entry, DestPath, DestName);
        else
            fail(ERAR_UNKNOWN);
    });
}

RAR_EXPORT void RAR_API RARSetCallback(void* hArcData, UNRARCALLBACK Callback, LPARAM UserData) {
    auto* handle = static_cast<ArchiveHandle*>(hArcData);
    if (handle == nullptr)
        return;
    handle->client = {Callback, UserData};
    handle->reader->volumes().set_client_callback(&handle->client);
}

RAR_EXPORT void RAR_API RARSetChangeVolProc(void* hArcData, CHANGEVOLPROC ChangeVolProc) {
    auto* handle = static_cast<ArchiveHandle*>(hArcData);
    if (handle != nullptr)
        handle->reader->volumes().set_callback(ChangeVolProc);
}

RAR_EXPORT void RAR_API RARSetPassword(void* hArcData, char* Password) {
    auto* handle = static_cast<ArchiveHandle*>(hArcData);
    if (handle != nullptr)
        handle->password = Password != nullptr ? Password : "";
}

} // extern "C"
