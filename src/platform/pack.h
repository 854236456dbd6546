// The resource pack: the container in which the program carries its compiled book.
//
// Layout (all numbers little-endian):
//   0  8  magic "SOLMPAK1"
//   8  4  entry count N
//  12  12*N entries: id (4), type (4), size (4), in the order the data follows
//  ...    the data of each entry, back to back
// The pack is built by tools/solmar-book and linked into the program; both backends read
// it through this parser, which checks every length against the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PackEntry {
  uint32_t id;
  uint32_t type;
  const uint8_t* bytes;  // points into the pack
  uint32_t size;
};

inline constexpr char kPackMagic[8] = {'S', 'O', 'L', 'M', 'P', 'A', 'K', '1'};

// Parses a pack; false (with a reason in *error when given) when the bytes are not a
// well-formed pack. Entries point into data, which must outlive them.
bool ParsePack(const uint8_t* data, size_t size, std::vector<PackEntry>* entries, std::string* error);

// Serialises entries into a pack.
std::vector<uint8_t> WritePack(const std::vector<PackEntry>& entries);

// The entry with that id and type, or none.
const PackEntry* FindPackEntry(const std::vector<PackEntry>& entries, uint32_t id, uint32_t type);

}  // namespace platform
