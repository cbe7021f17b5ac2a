// The RAR 2.9 compressed form (RAR 3.x and 4.x archives) of data that does not compress: one Huffman
// table that gives every byte value an 8-bit code and no other symbol a code, then each byte as a
// literal. A compressor given such data writes about as much, so tests and benchmarks get compressed
// entries of any packed size, cut into volumes like any other, for the decoder to read.
#pragma once

#include "tools/rar_writer/stored_rar_writer.h"

#include <string>
#include <vector>

namespace kelvox {

// `solid`: the stream goes on from the file before in a solid archive, whose end kept the table, and
// so starts with the first literal.
std::vector<unsigned char> rar29_literals(const std::vector<unsigned char>& data, bool solid = false);

// An entry for write_stored_rar holding `data` in that form (method 0x33, version 29).
StoredRarEntry rar29_literal_entry(const std::string& name, const std::vector<unsigned char>& data,
                                   bool solid = false);

} // namespace kelvox
