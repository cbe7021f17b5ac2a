#pragma once
// The extractor's status codes, their texts and the translations from the RAR library's values. Kept apart
// from the component so that the tables can be read (and checked) without a library.
#include <QString>

#include <cstdint>
#include <optional>

namespace kelvox {

namespace unrar_status {
constexpr std::uint8_t None = 0;
constexpr std::uint8_t Success = 1;
constexpr std::uint8_t NoMemory = 2;
constexpr std::uint8_t BadData = 3;
constexpr std::uint8_t BadArchive = 4;
constexpr std::uint8_t OpenError = 5;
constexpr std::uint8_t EndOfFile = 6;
constexpr std::uint8_t CloseError = 7;
constexpr std::uint8_t CreateError = 8;
constexpr std::uint8_t ReadError = 9;
constexpr std::uint8_t WriteError = 10;
constexpr std::uint8_t UnknownFormat = 11;
constexpr std::uint8_t NoLibrary = 12;
// A library failure none of the codes above describes.
constexpr std::uint8_t UnknownError = 13;
} // namespace unrar_status

// Element i of the set is bit i of bits().
enum class TRarFileFlag {
    ContinuedFromPrevious = 0,
    ContinuedInNext = 1,
    Encrypted = 2,
    HasComment = 3,
    Solid = 4,
    Directory = 5,
};

class TRarFileFlags {
public:
    TRarFileFlags() = default;
    explicit TRarFileFlags(std::uint8_t bits) : bits_(bits & 0x3F) {}
    bool contains(TRarFileFlag flag) const { return (bits_ >> int(flag)) & 1; }
    void insert(TRarFileFlag flag) { bits_ |= std::uint8_t(1u << int(flag)); }
    std::uint8_t bits() const { return bits_; }
    bool operator==(const TRarFileFlags&) const = default;

private:
    std::uint8_t bits_ = 0;
};

// The English text of a status, as the message of EUnRarError.
QString unrar_status_text(std::uint8_t status);
// The set of flags of a file header's Flags.
TRarFileFlags decode_file_flags(unsigned int flags);
// The dictionary size in KB that a file header's Flags give; 0 for a directory.
std::uint32_t decode_dictionary_size(unsigned int flags);
// The comment state for the library's CmtState; none when the property is to keep its value.
std::optional<std::uint8_t> translate_comment_state(unsigned int state);
// The status for RAROpenArchive's OpenResult; none when the status is to stay as it is.
std::optional<std::uint8_t> translate_open_result(unsigned int result);
// The status for a failed RARProcessFile.
std::uint8_t translate_process_result(int result);

} // namespace kelvox
