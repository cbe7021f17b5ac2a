#include "unrar/archive_reader.h"

#include "unrar/rar_error.h"

namespace kelvox::unrar {
namespace {

constexpr std::uint64_t smallest_block = 7;

// Both formats repeat a split file's name and whole size in every part; a part that says otherwise
// belongs to another file, whatever its flags claim.
bool continues(const Entry& file, const Entry& part) {
    return part.name == file.name && part.unpacked_size == file.unpacked_size;
}

} // namespace

ArchiveReader::ArchiveReader(const std::string& name) : volumes_(name) {
    // A stub may hold the signature bytes itself (its own search for the archive): a signature is
    // taken only when a main header follows it.
    std::uint64_t from = 0;
    for (;;) {
        if (!find_signature(volumes_, 0, signature_offset_, format_, from))
            fail(ERAR_BAD_ARCHIVE);
        reader_ = make_reader(format_);
        try {
            first_ = reader_->read_start(volumes_, 0, signature_offset_);
            break;
        } catch (const RarError&) {
            if (signature_offset_ == 0)
                throw;
            from = signature_offset_ + 1;
        }
    }
    if (first_.headers_encrypted)
        fail(ERAR_BAD_DATA); // nothing here decrypts, not even the headers
    starts_.push_back(first_);
    volumes_.set_new_naming(format_ == Format::newer || first_.new_naming);
    position_ = {0, first_.first_block};
    comment_ = first_.comment;
    if (!comment_.present)
        find_comment();
}

// Every walk goes through here: a block that does not end after its own start would be read again
// and again.
Block ArchiveReader::read_block_at(std::size_t volume, std::uint64_t offset) {
    Block block = reader_->read_block(volumes_, volume, offset);
    if (block.next <= offset)
        fail(ERAR_BAD_ARCHIVE);
    return block;
}

// A comment block sits between the main header and the first file; a damaged one is no comment, but
// an archive whose blocks do not follow one another is no archive.
void ArchiveReader::find_comment() {
    try {
        std::uint64_t at = first_.first_block;
        while (fits_in(at, smallest_block, volumes_.size(0))) {
            const Block block = read_block_at(0, at);
            if (block.kind == Block::Kind::comment) {
                comment_.present = true;
                comment_.entry = block.entry;
                return;
            }
            if (block.kind == Block::Kind::file || block.kind == Block::Kind::end)
                return;
            at = block.next;
        }
    } catch (const RarError& error) {
        if (error.code == ERAR_BAD_ARCHIVE)
            throw;
    }
}

const VolumeStart& ArchiveReader::start_of(std::size_t volume) {
    if (starts_.size() <= volume)
        starts_.resize(volume + 1);
    if (!starts_[volume]) {
        std::uint64_t offset = 0;
        Format format = Format::older;
        if (!find_signature(volumes_, volume, offset, format) || format != format_)
            fail(ERAR_BAD_ARCHIVE);
        starts_[volume] = reader_->read_start(volumes_, volume, offset);
        if (starts_[volume]->headers_encrypted)
            fail(ERAR_BAD_DATA);
    }
    return *starts_[volume];
}

void ArchiveReader::enter_next_volume() {
    const std::size_t next = position_.volume + 1;
    volumes_.ensure(next, true);
    position_ = {next, start_of(next).first_block};
    // The parts at the head of the new volume belong to the entry already reported.
    skipping_continuation_ = last_split_after_;
}

bool ArchiveReader::next(Entry& entry) {
    while (!ended_) {
        if (!fits_in(position_.offset, smallest_block, volumes_.size(position_.volume))) {
            // No end block: old archives end their volumes this way.
            if (multi_volume() && last_split_after_) {
                enter_next_volume();
                continue;
            }
            ended_ = true;
            break;
        }
        const Block block = read_block_at(position_.volume, position_.offset);
        if (block.kind == Block::Kind::end) {
            if (block.another_volume || (multi_volume() && last_split_after_)) {
                enter_next_volume();
                continue;
            }
            ended_ = true;
            break;
        }
        position_.offset = block.next;
        if (block.kind != Block::Kind::file)
            continue;
        if (skipping_continuation_ && block.split_before && continues(last_reported_, block.entry)) {
            last_split_after_ = block.split_after;
            continue;
        }
        skipping_continuation_ = false;
        last_split_after_ = block.split_after;
        // A part cut short by the end of its file is still listed (its header is whole); reading
        // its data fails then.
        entry = block.entry;
        entry.ordinal = ordinal_++;
        entry.complete = !block.split_after;
        if (!entry.complete)
            extend(entry, false);
        last_reported_ = entry;
        return true;
    }
    return false;
}

void ArchiveReader::complete(Entry& entry) {
    extend(entry, true);
}

bool ArchiveReader::extend(Entry& entry, bool may_ask) {
    while (!entry.complete) {
        const std::size_t volume = entry.parts.back().volume + 1;
        if (!volumes_.ensure(volume, may_ask))
            return false;
        std::uint64_t at = start_of(volume).first_block;
        for (;;) {
            if (!fits_in(at, smallest_block, volumes_.size(volume)))
                fail(ERAR_BAD_DATA);
            const Block block = read_block_at(volume, at);
            if (block.kind == Block::Kind::end)
                fail(ERAR_BAD_DATA);
            at = block.next;
            if (block.kind != Block::Kind::file)
                continue;
            if (!block.split_before || !continues(entry, block.entry)) {
                entry.continuation_missing = true;
                entry.complete = true;
                break;
            }
            entry.parts.push_back(block.entry.parts.front());
            entry.packed_size += block.entry.packed_size;
            if (block.entry.has_crc) {
                entry.crc = block.entry.crc;
                entry.has_crc = true;
            }
            entry.complete = !block.split_after;
            break;
        }
    }
    return true;
}

} // namespace kelvox::unrar
