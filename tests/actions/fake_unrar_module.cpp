// A stand-in for the RAR library exporting the published entry points (less those a build leaves out with
// FAKE_WITHOUT_<ENTRY>), each forwarded to the host object of the program that loaded it.
#include "tests/actions/fake_unrar_host.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void* program_symbol(const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(nullptr), name));
#else
    return dlsym(RTLD_DEFAULT, name);
#endif
}

FakeUnrarHost* host() {
    const auto function = reinterpret_cast<FakeUnrarHostFunction>(program_symbol("kelvox_fake_unrar_host"));
    return function ? function() : nullptr;
}

} // namespace

extern "C" {

#ifndef FAKE_WITHOUT_OPEN
RAR_EXPORT void* RAROpenArchive(RAROpenArchiveData* data) {
    return host()->open_archive(data);
}
#endif
#ifndef FAKE_WITHOUT_CLOSE
RAR_EXPORT int RARCloseArchive(void* archive) {
    return host()->close_archive(archive);
}
#endif
#ifndef FAKE_WITHOUT_READ_HEADER
RAR_EXPORT int RARReadHeader(void* archive, RARHeaderData* header) {
    return host()->read_header(archive, header);
}
#endif
#ifndef FAKE_WITHOUT_PROCESS
RAR_EXPORT int RARProcessFile(void* archive, int operation, char* dest_path, char* dest_name) {
    return host()->process_file(archive, operation, dest_path, dest_name);
}
#endif
#ifndef FAKE_WITHOUT_SET_CHANGE_VOL_PROC
RAR_EXPORT void RARSetChangeVolProc(void* archive, CHANGEVOLPROC callback) {
    host()->set_change_vol_proc(archive, callback);
}
#endif
#ifndef FAKE_WITHOUT_SET_PASSWORD
RAR_EXPORT void RARSetPassword(void* archive, char* password) {
    host()->set_password(archive, password);
}
#endif
}
