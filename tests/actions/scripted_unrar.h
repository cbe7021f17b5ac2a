#pragma once
// The behaviour the stand-in RAR library shows a test: an archive of scripted headers, results for each
// call, and a record of what the component handed in.
#include "tests/actions/fake_unrar_host.h"

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ScriptedHeader {
    std::string file_name;
    std::string arc_name = "volume.rar";
    unsigned int flags = 0;
    unsigned int pack_size = 0;
    unsigned int unp_size = 0;
    unsigned int host_os = 2;
    unsigned int file_crc = 0;
    unsigned int file_time = 0;
    unsigned int unp_ver = 29;
    unsigned int method = 0x30;
    unsigned int file_attr = 0x20;
    std::string comment;
    unsigned int cmt_state = 0;
};

struct ProcessCall {
    int operation;
    bool has_dest_path;
    std::string dest_path;
    bool has_dest_name;
    std::string dest_name;
};

class ScriptedUnrar : public FakeUnrarHost {
public:
    // What the open does.
    bool open_succeeds = true;
    unsigned int open_result = ERAR_SUCCESS;
    std::string archive_comment;
    unsigned int archive_cmt_state = 0;
    // Fill the whole comment buffer without a terminating zero.
    bool overfill_comment = false;
    // The headers, then the result of the read after the last one.
    std::deque<ScriptedHeader> headers;
    int result_after_headers = ERAR_END_ARCHIVE;
    // Results of the process calls in turn; success once they run out.
    std::deque<int> process_results;
    int close_result = ERAR_SUCCESS;
    // Runs inside each process call, as the library asks for volumes there.
    std::function<void()> during_process;

    // What the component handed in.
    std::vector<std::string> opened_names;
    std::vector<unsigned int> open_modes;
    std::vector<unsigned int> comment_buffer_sizes;
    std::vector<std::string> passwords;
    std::vector<void*> closed;
    std::vector<ProcessCall> processed;
    CHANGEVOLPROC volume_callback = nullptr;
    int header_reads = 0;

    void* handle() { return &handle_; }

    void* open_archive(RAROpenArchiveData* data) override {
        opened_names.emplace_back(data->ArcName);
        open_modes.push_back(data->OpenMode);
        comment_buffer_sizes.push_back(data->CmtBufSize);
        write_comment(data->CmtBuf, data->CmtBufSize, archive_comment);
        data->CmtState = archive_cmt_state;
        data->OpenResult = open_result;
        return open_succeeds ? handle() : nullptr;
    }

    int close_archive(void* archive) override {
        closed.push_back(archive);
        return close_result;
    }

    int read_header(void* archive, RARHeaderData* header) override {
        ++header_reads;
        comment_buffer_sizes.push_back(header->CmtBufSize);
        if (headers.empty())
            return result_after_headers;
        const ScriptedHeader next = headers.front();
        headers.pop_front();
        copy_name(header->ArcName, next.arc_name);
        copy_name(header->FileName, next.file_name);
        header->Flags = next.flags;
        header->PackSize = next.pack_size;
        header->UnpSize = next.unp_size;
        header->HostOS = next.host_os;
        header->FileCRC = next.file_crc;
        header->FileTime = next.file_time;
        header->UnpVer = next.unp_ver;
        header->Method = next.method;
        header->FileAttr = next.file_attr;
        write_comment(header->CmtBuf, header->CmtBufSize, next.comment);
        header->CmtState = next.cmt_state;
        return ERAR_SUCCESS;
    }

    int process_file(void* archive, int operation, char* dest_path, char* dest_name) override {
        processed.push_back({operation, dest_path != nullptr, dest_path ? dest_path : "",
                             dest_name != nullptr, dest_name ? dest_name : ""});
        if (during_process)
            during_process();
        if (process_results.empty())
            return ERAR_SUCCESS;
        const int result = process_results.front();
        process_results.pop_front();
        return result;
    }

    void set_change_vol_proc(void* archive, CHANGEVOLPROC callback) override { volume_callback = callback; }
    void set_password(void* archive, char* password) override { passwords.emplace_back(password); }

private:
    static void copy_name(char (&buffer)[260], const std::string& name) {
        std::memset(buffer, 0, sizeof buffer);
        std::memcpy(buffer, name.data(), std::min(name.size(), sizeof buffer - 1));
    }

    void write_comment(char* buffer, unsigned int size, const std::string& text) const {
        if (overfill_comment) {
            std::memset(buffer, 'x', size);
            return;
        }
        std::memcpy(buffer, text.c_str(), std::min<std::size_t>(text.size() + 1, size));
    }

    int handle_ = 0;
};
