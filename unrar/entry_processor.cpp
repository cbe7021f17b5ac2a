#include "unrar/entry_processor.h"

#include "unrar/dos_time.h"
#include "unrar/progress_sink.h"
#include "unrar/rar4_decoder.h"
#include "unrar/rar_error.h"
#include "unrar/safe_path.h"
#include "unrar/stored_copy.h"

#include <algorithm>

namespace kelvox::unrar {
namespace {

bool unix_host(const Entry& entry) {
    return entry.host_os >= 3 && entry.host_os <= 5;
}

unsigned file_mode(const Entry& entry) {
    if (unix_host(entry)) {
        const unsigned mode = entry.attributes & 0777;
        return mode != 0 ? mode : 0644;
    }
    return (entry.attributes & 0x01) ? 0444 : 0644; // the DOS read-only attribute
}

bool is_compressed_older(const Entry& entry) {
    return !entry.newer_format && entry.method != method_stored;
}

} // namespace

bool EntryProcessor::backslash_separates(const Entry& entry) const {
    return !entry.newer_format || !unix_host(entry);
}

// A solid volume set's entries are decoded by libunarr from an image of the run that holds every entry
// before them, whichever decoder (or none) had them.
void EntryProcessor::keep_for_solid(const Entry& entry) {
#if KELVOX_UNRAR_UNARR
    if (!reader_.solid() || !reader_.multi_volume())
        return;
    if (!unarr_)
        unarr_ = std::make_unique<Rar4UnarrDecoder>(reader_);
    unarr_->keep_for_solid(entry);
#else
    (void)entry; // Windows decodes no solid run's later entries
#endif
}

void EntryProcessor::skip(Entry& entry) {
    if (KELVOX_UNRAR_UNARR && is_compressed_older(entry) && reader_.solid() && reader_.multi_volume() &&
        !entry.encrypted && !entry.directory && (entry.flags & flag_from_previous) == 0) {
        reader_.complete(entry);
        keep_for_solid(entry);
    }
}

void EntryProcessor::decode(const Entry& entry, DataSink& sink) {
    if (entry.method == method_stored) {
        copy_parts(reader_.volumes(), entry, sink);
    } else if (entry.newer_format) {
        if (!rar5_)
            rar5_ = std::make_unique<Rar5Decoder>(reader_);
        rar5_->decode(entry, sink);
    } else if (rar4_libarchive_decodes(entry)) {
        keep_for_solid(entry);
        decode_rar4(reader_.volumes(), entry, sink);
    } else {
#if KELVOX_UNRAR_UNARR
        if (!unarr_)
            unarr_ = std::make_unique<Rar4UnarrDecoder>(reader_);
        unarr_->decode(entry, sink);
#else
        fail(ERAR_UNKNOWN_FORMAT);
#endif
    }
}

void EntryProcessor::decode_checked(Entry& entry, DataSink& sink) {
    if (entry.encrypted)
        fail(ERAR_BAD_DATA); // nothing here decrypts
    if (entry.flags & flag_from_previous)
        fail(ERAR_BAD_DATA); // the beginning is in a volume before the one opened
    if (!entry.newer_format && entry.method != method_stored && entry.unpack_version < 20)
        fail(ERAR_UNKNOWN_FORMAT);
    reader_.complete(entry);
    if (entry.continuation_missing)
        fail(ERAR_BAD_DATA);
    ProgressSink reported(sink, client_, abort_flag_);
    CrcSink checked(reported);
    decode(entry, checked);
    if (checked.count() != entry.unpacked_size || (entry.has_crc && checked.crc() != entry.crc))
        fail(ERAR_BAD_DATA);
}

void EntryProcessor::test(Entry& entry) {
    if (entry.directory || (entry.newer_format && entry.link != LinkKind::none))
        return;
    DiscardSink nowhere;
    decode_checked(entry, nowhere);
}

std::string EntryProcessor::link_target(Entry& entry) {
    if (entry.newer_format)
        return entry.link_target;
    constexpr std::uint64_t longest_target = 64 * 1024; // far beyond any path; more is no link
    if (entry.unpacked_size > longest_target)
        fail(ERAR_ECREATE);
    StringSink target;
    decode_checked(entry, target);
    return target.text;
}

void EntryProcessor::extract_link(Entry& entry, const char* dest_path) {
    const std::vector<std::string> components =
        safe_components(entry.name, entry.newer_format, entry.host_os);
    const DirectoryFd root = open_caller_directory(dest_path != nullptr ? dest_path : "");
    if (entry.link == LinkKind::hardlink) {
        const std::vector<std::string> target =
            safe_components(entry.link_target, entry.newer_format, entry.host_os);
        const DirectoryFd target_directory = open_inside(root, target, target.size() - 1, false);
        const DirectoryFd directory = open_inside(root, components, components.size() - 1, true);
        sweep(directory);
        place_hardlink(directory, components.back(), target_directory, target.back(), extracted_);
        return;
    }
    if (entry.link != LinkKind::symlink)
        fail(ERAR_ECREATE);
    std::string target = link_target(entry);
    const bool backslash = backslash_separates(entry);
    if (!link_stays_inside(components, target, backslash))
        fail(ERAR_ECREATE);
    if (backslash)
        std::replace(target.begin(), target.end(), '\\', '/');
    const DirectoryFd directory = open_inside(root, components, components.size() - 1, true);
    sweep(directory);
    place_symlink(directory, components.back(), target);
}

void EntryProcessor::sweep(const DirectoryFd& directory) {
    if (swept_.insert(directory.identity()).second)
        remove_stale_temporaries(directory);
}

void EntryProcessor::write_file(Entry& entry, const DirectoryFd& directory, const std::string& name) {
    sweep(directory);
    PendingFile file(directory, name);
    decode_checked(entry, file);
    extracted_.insert(file.commit(file_mode(entry), dos_to_unix_time(entry.dos_time)));
}

void EntryProcessor::extract_to_name(Entry& entry, const std::string& dest_name) {
    if (entry.link != LinkKind::none || dest_name.empty())
        fail(ERAR_ECREATE); // a link has no meaning outside the destination tree it was made for
    const std::size_t slash = dest_name.find_last_of('/');
    const std::string parent =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : dest_name.substr(0, slash));
    const std::string name = slash == std::string::npos ? dest_name : dest_name.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        fail(ERAR_ECREATE);
    const DirectoryFd directory = open_caller_directory(parent);
    if (entry.directory) {
        make_directory_in(directory, name);
        return;
    }
    write_file(entry, directory, name);
}

void EntryProcessor::extract_under(Entry& entry, const char* dest_path) {
    const std::vector<std::string> components =
        safe_components(entry.name, entry.newer_format, entry.host_os);
    if (entry.link != LinkKind::none) {
        extract_link(entry, dest_path);
        return;
    }
    const DirectoryFd root = open_caller_directory(dest_path != nullptr ? dest_path : "");
    if (entry.directory) {
        open_inside(root, components, components.size(), true);
        return;
    }
    const DirectoryFd directory = open_inside(root, components, components.size() - 1, true);
    write_file(entry, directory, components.back());
}

void EntryProcessor::extract(Entry& entry, const char* dest_path, const char* dest_name) {
    if (dest_name != nullptr && *dest_name != '\0')
        extract_to_name(entry, dest_name);
    else
        extract_under(entry, dest_path);
}

} // namespace kelvox::unrar
