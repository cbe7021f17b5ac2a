#include "unrar/archive_comment.h"

#include "unrar/rar4_decoder.h"
#include "unrar/rar_error.h"
#include "unrar/stored_copy.h"

#include <cstring>
#include <new>

namespace kelvox::unrar {
namespace {

// Far more than any comment and than the buffer callers pass; a larger size is a damaged header.
constexpr std::uint64_t largest_comment = 1u << 20;

} // namespace

CommentText read_archive_comment(const ArchiveReader& reader) {
    const StoredComment& stored = reader.comment();
    CommentText comment;
    if (!stored.present)
        return comment;
    try {
        if (stored.entry.unpacked_size > largest_comment || stored.entry.packed_size > largest_comment)
            fail(ERAR_NO_MEMORY);
        if (reader.format() == Format::older) {
            comment.text = decode_rar4_comment(reader.volumes(), stored);
        } else {
            if (stored.entry.method != method_stored)
                fail(ERAR_UNKNOWN_FORMAT);
            StringSink text;
            copy_parts(reader.volumes(), stored.entry, text);
            comment.text = text.text;
        }
        comment.state = 1;
    } catch (const RarError& error) {
        comment.state = error.code;
        comment.text.clear();
    } catch (const std::bad_alloc&) {
        comment.state = ERAR_NO_MEMORY;
        comment.text.clear();
    }
    return comment;
}

void hand_over_comment(const CommentText& comment, char* buffer, unsigned buffer_size, unsigned& size,
                       unsigned& state) {
    size = 0;
    state = static_cast<unsigned>(comment.state);
    if (comment.state != 1)
        return;
    if (buffer == nullptr || buffer_size == 0) {
        state = ERAR_SMALL_BUF;
        return;
    }
    const std::size_t length = comment.text.size() < buffer_size ? comment.text.size() : buffer_size - 1;
    std::memcpy(buffer, comment.text.data(), length);
    buffer[length] = '\0';
    size = static_cast<unsigned>(length + 1);
    if (length < comment.text.size())
        state = ERAR_SMALL_BUF;
}

} // namespace kelvox::unrar
