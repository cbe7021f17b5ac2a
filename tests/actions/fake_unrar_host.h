#pragma once
// The stand-in RAR library's link to the test that loaded it. The stand-in module only forwards each entry
// point to the object the test program exports under kelvox_fake_unrar_host, so its behaviour is scripted
// by the test and survives the module being unloaded and loaded again.
#include "unrar/unrar.h"

class FakeUnrarHost {
public:
    virtual ~FakeUnrarHost() = default;
    virtual void* open_archive(RAROpenArchiveData* data) = 0;
    virtual int close_archive(void* archive) = 0;
    virtual int read_header(void* archive, RARHeaderData* header) = 0;
    virtual int process_file(void* archive, int operation, char* dest_path, char* dest_name) = 0;
    virtual void set_change_vol_proc(void* archive, CHANGEVOLPROC callback) = 0;
    virtual void set_password(void* archive, char* password) = 0;
};

extern "C" {
using FakeUnrarHostFunction = FakeUnrarHost* (*)();
}
