// Turning stored names into UTF-8: the older format's names are OEM bytes, optionally followed by a
// packed UTF-16 form; the newer format's are UTF-8 already.
#pragma once

#include <cstddef>
#include <string>

namespace kelvox::unrar {

// NAME_SIZE bytes of a file header with the Unicode flag: "oem\0packed utf-16", or UTF-8 without a NUL.
std::string unicode_name_to_utf8(const std::string& stored);

// Names without the Unicode flag. DOS and Windows hosts wrote them in the OEM code page; the discs
// this module unpacks come from Polish systems, so code page 852 is assumed. Other hosts' bytes are
// kept as they are.
std::string oem_name_to_utf8(const std::string& stored, unsigned host_os);

// UTF-8 as wide characters (UTF-32, or UTF-16 where wchar_t has 16 bits); a malformed sequence
// becomes U+FFFD.
std::wstring utf8_to_wide(const std::string& text);

// Wide characters as UTF-8; a lone surrogate (16-bit wchar_t) or a value past U+10FFFF becomes U+FFFD.
std::string wide_to_utf8(const wchar_t* text);

// Zero-terminated into a buffer of `capacity` characters, cut on a character boundary.
void copy_to_buffer(char* out, std::size_t capacity, const std::string& text);
void copy_wide_to_buffer(wchar_t* out, std::size_t capacity, const std::string& text);

// The longest prefix of `text` of at most `limit` bytes that does not cut a UTF-8 sequence.
std::string utf8_prefix(const std::string& text, std::size_t limit);

} // namespace kelvox::unrar
