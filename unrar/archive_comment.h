#pragma once

#include "unrar/archive_reader.h"

#include <string>

namespace kelvox::unrar {

struct CommentText {
    int state = 0; // 0 none, 1 read, or the ERAR_* code that stopped it
    std::string text;
};

CommentText read_archive_comment(const ArchiveReader& reader);

// Copies the comment into the caller's buffer, zero-terminated: CmtSize counts the bytes written
// including the terminator, and a comment cut to fit is ERAR_SMALL_BUF.
void hand_over_comment(const CommentText& comment, char* buffer, unsigned buffer_size, unsigned& size,
                       unsigned& state);

} // namespace kelvox::unrar
