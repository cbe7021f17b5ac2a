#include "unrar/names.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

namespace kelvox::unrar {
namespace {

constexpr char16_t cp852_high[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151, 0x00EE,
    0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A, 0x015B, 0x00D6,
    0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x0104, 0x0105, 0x017D,
    0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557, 0x255D, 0x017B, 0x017C, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB, 0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C,
    0x2588, 0x2584, 0x0162, 0x016E, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161,
    0x0154, 0x00DA, 0x0155, 0x0170, 0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0};

void append_utf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string utf16_to_utf8(const std::vector<char16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            append_utf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            append_utf8(out, 0xFFFD);
        } else {
            append_utf8(out, unit);
        }
    }
    return out;
}

// The packed UTF-16 form: a high byte shared by many characters, then two-bit opcodes saying whether
// the next character is one byte (with or without the high byte), two bytes, or a run copied from the
// OEM name with an optional correction.
std::vector<char16_t> unpack_utf16(const std::string& oem, const unsigned char* packed, std::size_t size) {
    std::vector<char16_t> out;
    if (size == 0)
        return out;
    const unsigned high = packed[0];
    std::size_t pos = 1;
    unsigned flags = 0;
    int flag_bits = 0;
    const std::size_t limit = oem.size() + size; // never longer than the bytes that encode it
    auto oem_at = [&](std::size_t i) { return static_cast<unsigned char>(oem[i]); };
    while (pos < size && out.size() < limit) {
        if (flag_bits == 0) {
            flags = packed[pos++];
            flag_bits = 8;
            if (pos >= size)
                break;
        }
        switch (flags >> 6) {
        case 0:
            out.push_back(packed[pos++]);
            break;
        case 1:
            out.push_back(static_cast<char16_t>(packed[pos++] + (high << 8)));
            break;
        case 2:
            if (pos + 1 >= size)
                return out;
            out.push_back(static_cast<char16_t>(packed[pos] | (packed[pos + 1] << 8)));
            pos += 2;
            break;
        default: {
            unsigned length = packed[pos++];
            if (length & 0x80) {
                if (pos >= size)
                    return out;
                const unsigned correction = packed[pos++];
                for (length = (length & 0x7F) + 2; length > 0 && out.size() < oem.size(); --length)
                    out.push_back(
                        static_cast<char16_t>(((oem_at(out.size()) + correction) & 0xFF) + (high << 8)));
            } else {
                for (length += 2; length > 0 && out.size() < oem.size(); --length)
                    out.push_back(oem_at(out.size()));
            }
            break;
        }
        }
        flags = (flags << 2) & 0xFF;
        flag_bits -= 2;
    }
    return out;
}

} // namespace

std::string unicode_name_to_utf8(const std::string& stored) {
    const std::size_t nul = stored.find('\0');
    if (nul == std::string::npos)
        return stored;
    const std::string oem = stored.substr(0, nul);
    const auto* packed = reinterpret_cast<const unsigned char*>(stored.data()) + nul + 1;
    const std::vector<char16_t> units = unpack_utf16(oem, packed, stored.size() - nul - 1);
    if (units.empty())
        return oem;
    return utf16_to_utf8(units);
}

std::string oem_name_to_utf8(const std::string& stored, unsigned host_os) {
    const std::string name = stored.substr(0, stored.find('\0'));
    if (host_os > 2)
        return name;
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else
            append_utf8(out, cp852_high[byte - 0x80]);
    }
    return out;
}

std::string utf8_prefix(const std::string& text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace kelvox::unrar

namespace kelvox::unrar {
namespace {

// The code point starting at text[at], advancing `at`; a malformed or overlong sequence is one U+FFFD.
std::uint32_t next_code_point(const std::string& text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    int extra = -1; // continuation bytes; a lead byte that cannot start a sequence has none
    if (lead >= 0xC2 && lead < 0xE0)
        extra = 1;
    else if (lead >= 0xE0 && lead < 0xF0)
        extra = 2;
    else if (lead >= 0xF0 && lead < 0xF5)
        extra = 3;
    if (extra < 0)
        return 0xFFFD;
    std::uint32_t code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    constexpr std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        return 0xFFFD;
    return code;
}

} // namespace

std::wstring utf8_to_wide(const std::string& text) {
    std::wstring out;
    for (std::size_t at = 0; at < text.size();) {
        const std::uint32_t code = next_code_point(text, at);
        if (sizeof(wchar_t) == 2 && code >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
    }
    return out;
}

std::string wide_to_utf8(const wchar_t* text) {
    if constexpr (sizeof(wchar_t) == 2) {
        std::vector<char16_t> units;
        for (const wchar_t* at = text; *at != L'\0'; ++at)
            units.push_back(static_cast<char16_t>(*at));
        return utf16_to_utf8(units);
    } else {
        std::string out;
        for (const wchar_t* at = text; *at != L'\0'; ++at) {
            const auto code = static_cast<std::uint32_t>(*at);
            append_utf8(out, code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) ? 0xFFFD : code);
        }
        return out;
    }
}

void copy_to_buffer(char* out, std::size_t capacity, const std::string& text) {
    const std::string cut = utf8_prefix(text, capacity - 1);
    std::memcpy(out, cut.data(), cut.size());
    out[cut.size()] = '\0';
}

// A lone half of a surrogate pair (16-bit wchar_t) is left out.
void copy_wide_to_buffer(wchar_t* out, std::size_t capacity, const std::string& text) {
    std::wstring wide = utf8_to_wide(utf8_prefix(text, capacity - 1));
    if (wide.size() > capacity - 1)
        wide.resize(capacity - 1);
    if (sizeof(wchar_t) == 2 && !wide.empty() && wide.back() >= 0xD800 && wide.back() < 0xDC00)
        wide.pop_back();
    std::wmemcpy(out, wide.data(), wide.size());
    out[wide.size()] = L'\0';
}

} // namespace kelvox::unrar
