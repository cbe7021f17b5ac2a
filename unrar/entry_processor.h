// What RARProcessFile does with one entry: skip it, test it (decode and check its CRC) or extract it
// safely under a destination directory or to an exact file name.
#pragma once

#include "unrar/archive_reader.h"
#include "unrar/client_callback.h"
#include "unrar/data_sink.h"
#if KELVOX_UNRAR_UNARR
#include "unrar/rar4_unarr_decoder.h"
#endif
#include "unrar/rar5_decoder.h"
#include "unrar/safe_writer.h"

#include <memory>

namespace kelvox::unrar {

class EntryProcessor {
public:
    // The caller's callback hears of every piece of unpacked data; it and the abort flag (a close asked
    // for from inside the callback) stop an operation midway.
    EntryProcessor(ArchiveReader& reader, const ClientCallback& client, const bool* abort_flag)
        : reader_(reader), client_(client), abort_flag_(abort_flag) {}

    void skip(Entry& entry);
    void test(Entry& entry);
    // dest_path null or empty = the current directory; dest_name, when given, is the whole file name.
    void extract(Entry& entry, const char* dest_path, const char* dest_name);

private:
    void decode_checked(Entry& entry, DataSink& sink);
    void decode(const Entry& entry, DataSink& sink);
    std::string link_target(Entry& entry);
    void extract_link(Entry& entry, const char* dest_path);
    void write_file(Entry& entry, const DirectoryFd& directory, const std::string& name);
    void sweep(const DirectoryFd& directory);
    void extract_to_name(Entry& entry, const std::string& dest_name);
    void extract_under(Entry& entry, const char* dest_path);
    bool backslash_separates(const Entry& entry) const;
    void keep_for_solid(const Entry& entry);

    ArchiveReader& reader_;
    const ClientCallback& client_;
    const bool* abort_flag_;
#if KELVOX_UNRAR_UNARR
    std::unique_ptr<Rar4UnarrDecoder> unarr_; // what libarchive does not decode of the older format
#endif
    std::unique_ptr<Rar5Decoder> rar5_;
    FileIdentities extracted_; // every file this run has written, the only ones a hard link may name
    FileIdentities swept_;     // directories already cleared of stale temporaries
};

} // namespace kelvox::unrar
