// The book's pack as the build wrote it, and UTF-8 for messages about its text. Tests
// that include this define SOLMAR_BOOK_PACK_FILE (the pack's path) for their target.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// The pack's bytes; empty when the file cannot be read.
inline std::vector<uint8_t> ReadBookPack() {
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-16 text of the Basic Multilingual Plane as UTF-8.
inline std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace test_support
