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
#include <optional>
#include <string>

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
    copy_to_buffer(data.ArcName, sizeof data.ArcName, volume_name(handle));
    copy_to_buffer(data.FileName, sizeof data.FileName, entry.name);
    fill_common(entry, data);
    data.PackSize = clamp32(entry.packed_size);
    data.UnpSize = clamp32(entry.unpacked_size);
}

void fill_header_ex(const ArchiveHandle& handle, RARHeaderDataEx& data) {
    const Entry& entry = handle.current;
    constexpr std::size_t name_size = sizeof data.ArcName;
    copy_to_buffer(data.ArcName, name_size, volume_name(handle));
    copy_wide_to_buffer(data.ArcNameW, name_size, volume_name(handle));
    copy_to_buffer(data.FileName, name_size, entry.name);
    copy_wide_to_buffer(data.FileNameW, name_size, entry.name);
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

void set_client(ArchiveHandle& handle, ClientCallback client) {
    handle.client = client;
    handle.reader->volumes().set_client_callback(&handle.client);
}

unsigned archive_flags(const ArchiveReader& reader) {
    unsigned flags = 0;
    if (reader.multi_volume())
        flags |= ROADF_VOLUME;
    if (reader.comment().present)
        flags |= ROADF_COMMENT;
    if (reader.solid())
        flags |= ROADF_SOLID;
    if (reader.new_naming())
        flags |= ROADF_NEWNUMBERING;
    return flags;
}

// Both open records share these fields by name; `more` finishes the handle before it is given out.
template <typename OpenData, typename More>
void* open_archive(OpenData& data, const std::optional<std::string>& name, More more) {
    data.CmtSize = 0;
    data.CmtState = 0;
    ArchiveHandle* opened = nullptr;
    data.OpenResult = static_cast<unsigned>(run_code([&] {
        if (!name)
            fail(ERAR_EOPEN);
        auto handle = std::make_unique<ArchiveHandle>();
        handle->reader = std::make_unique<ArchiveReader>(*name);
        handle->reader->volumes().set_abort_flag(&handle->close_requested);
        handle->processor =
            std::make_unique<EntryProcessor>(*handle->reader, handle->client, &handle->close_requested);
        handle->extract_mode = data.OpenMode == RAR_OM_EXTRACT;
        hand_over_comment(read_archive_comment(*handle->reader), data.CmtBuf, data.CmtBufSize, data.CmtSize,
                          data.CmtState);
        more(*handle);
        opened = handle.release();
    }));
    return opened;
}

void process_current(ArchiveHandle& handle, int operation, const char* dest_path, const char* dest_name) {
    if (!handle.has_current)
        fail(handle.ended ? ERAR_END_ARCHIVE : ERAR_UNKNOWN);
    handle.has_current = false;
    Entry& entry = handle.current;
    // Opened for listing, nothing is decoded or written whatever the operation.
    if (!handle.extract_mode || operation == RAR_SKIP) {
        skip_current(handle);
        return;
    }
    if (operation == RAR_TEST)
        handle.processor->test(entry);
    else if (operation == RAR_EXTRACT)
        handle.processor->extract(entry, dest_path, dest_name);
    else
        fail(ERAR_UNKNOWN);
}

} // namespace
} // namespace kelvox::unrar

using namespace kelvox::unrar;

extern "C" {

RAR_EXPORT void* RAR_API RAROpenArchive(struct RAROpenArchiveData* ArchiveData) {
    if (ArchiveData == nullptr)
        return nullptr;
    const std::optional<std::string> name =
        ArchiveData->ArcName != nullptr ? std::optional<std::string>(ArchiveData->ArcName) : std::nullopt;
    return open_archive(*ArchiveData, name, [](ArchiveHandle&) {});
}

RAR_EXPORT void* RAR_API RAROpenArchiveEx(struct RAROpenArchiveDataEx* ArchiveData) {
    if (ArchiveData == nullptr)
        return nullptr;
    std::optional<std::string> name;
    if (ArchiveData->ArcNameW != nullptr)
        name = wide_to_utf8(ArchiveData->ArcNameW);
    else if (ArchiveData->ArcName != nullptr)
        name = ArchiveData->ArcName;
    ArchiveData->Flags = 0;
    return open_archive(*ArchiveData, name, [&](ArchiveHandle& handle) {
        ArchiveData->Flags = archive_flags(*handle.reader);
        handle.reader->volumes().set_wide_questions(ArchiveData->ArcNameW != nullptr);
        if (ArchiveData->Callback != nullptr)
            set_client(handle, {ArchiveData->Callback, ArchiveData->UserData});
    });
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
    return guarded(hArcData,
                   [&](ArchiveHandle& handle) { process_current(handle, Operation, DestPath, DestName); });
}

RAR_EXPORT int RAR_API RARProcessFileW(void* hArcData, int Operation, wchar_t* DestPath, wchar_t* DestName) {
    return guarded(hArcData, [&](ArchiveHandle& handle) {
        const std::string path = DestPath != nullptr ? wide_to_utf8(DestPath) : std::string();
        const std::string name = DestName != nullptr ? wide_to_utf8(DestName) : std::string();
        process_current(handle, Operation, DestPath != nullptr ? path.c_str() : nullptr,
                        DestName != nullptr ? name.c_str() : nullptr);
    });
}

RAR_EXPORT void RAR_API RARSetCallback(void* hArcData, UNRARCALLBACK Callback, LPARAM UserData) {
    auto* handle = static_cast<ArchiveHandle*>(hArcData);
    if (handle != nullptr)
        set_client(*handle, {Callback, UserData});
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
