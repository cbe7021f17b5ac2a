// Walks the file entries of an archive across its volumes. Entries split over volumes are reported
// once, with the parts found in the volumes that are already there; the rest is looked for (asking
// the caller for missing volumes) only when the data or the walk needs it.
#pragma once

#include "unrar/block.h"
#include "unrar/entry.h"
#include "unrar/volume_set.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvox::unrar {

class ArchiveReader {
public:
    explicit ArchiveReader(const std::string& name); // throws RarError

    VolumeSet& volumes() { return volumes_; }
    const VolumeSet& volumes() const { return volumes_; }
    Format format() const { return format_; }
    bool multi_volume() const { return first_.volume; }
    bool solid() const { return first_.solid; }
    bool new_naming() const { return first_.new_naming; }
    std::uint64_t signature_offset() const { return signature_offset_; } // in the first volume
    const StoredComment& comment() const { return comment_; }

    // The next file entry; false at the end of the archive.
    bool next(Entry& entry);
    // Finds the parts of `entry` still missing, asking for volumes; throws ERAR_EOPEN when refused.
    void complete(Entry& entry);

private:
    struct Position {
        std::size_t volume;
        std::uint64_t offset;
    };

    Block read_block_at(std::size_t volume, std::uint64_t offset);
    const VolumeStart& start_of(std::size_t volume);
    void enter_next_volume();
    bool extend(Entry& entry, bool may_ask);
    void find_comment();

    VolumeSet volumes_;
    Format format_ = Format::older;
    std::unique_ptr<FormatReader> reader_;
    std::uint64_t signature_offset_ = 0;
    VolumeStart first_;
    std::vector<std::optional<VolumeStart>> starts_;
    StoredComment comment_;

    Position position_{0, 0};
    bool ended_ = false;
    bool last_split_after_ = false;
    bool skipping_continuation_ = false;
    Entry last_reported_; // whose parts the head of the next volume may hold
    std::size_t ordinal_ = 0;
};

} // namespace kelvox::unrar
