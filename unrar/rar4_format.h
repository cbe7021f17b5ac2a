// The older format's numbers (RAR 1.5 to 4.x), shared by the module's reader and the test archives'
// writer so that both speak of the same blocks.
#pragma once

#include <cstddef>

namespace kelvox::rar4 {

// "Rar!" 1A 07 00; the newer format has 01 00 after the same six bytes.
inline constexpr unsigned char signature[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
inline constexpr std::size_t signature_prefix = 6; // the bytes both formats share

inline constexpr unsigned type_marker = 0x72;
inline constexpr unsigned type_main = 0x73;
inline constexpr unsigned type_file = 0x74;
inline constexpr unsigned type_old_comment = 0x75;
inline constexpr unsigned type_new_sub = 0x7A;
inline constexpr unsigned type_end = 0x7B;

inline constexpr unsigned has_data = 0x8000;
inline constexpr unsigned file_from_previous = 0x0001;
inline constexpr unsigned file_to_next = 0x0002;
inline constexpr unsigned file_solid = 0x0010;
inline constexpr unsigned file_directory = 0x00E0;
inline constexpr unsigned file_large = 0x0100;
inline constexpr unsigned file_unicode = 0x0200;
inline constexpr unsigned main_volume = 0x0001;
inline constexpr unsigned main_comment = 0x0002;
inline constexpr unsigned main_solid = 0x0008;
inline constexpr unsigned main_new_naming = 0x0010;
inline constexpr unsigned main_encrypted_headers = 0x0080;
inline constexpr unsigned main_first_volume = 0x0100;
inline constexpr unsigned end_next_volume = 0x0001;

inline constexpr std::size_t head_size = 7;
inline constexpr std::size_t main_fixed_size = 13;

} // namespace kelvox::rar4
