// Article resources for tests, built without the encoder: literal tokens wrapped in the
// resource layout the reader loads (L, two sequence values, S, U, tokens, four zeros).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace test_support {

// Tokens that decode to stream: bytes 0x09..0x7F stand for themselves, any other byte
// travels in a one-byte literal run (0x01, byte).
inline std::vector<uint8_t> LiteralTokens(const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> tokens;
  for (uint8_t b : stream) {
    if (b >= 0x09 && b <= 0x7F) {
      tokens.push_back(b);
    } else {
      tokens.push_back(0x01);
      tokens.push_back(b);
    }
  }
  return tokens;
}

// The resource of article n holding tokens that decode to outputLength bytes.
inline std::vector<uint8_t> ArticleResource(const std::vector<uint8_t>& tokens, uint16_t outputLength, int n = 1) {
  const uint16_t s = uint16_t(tokens.size());
  const uint16_t l = uint16_t(s + 8);
  const uint16_t a = uint16_t(n + 20);
  const uint8_t header[10] = {uint8_t(l >> 8), uint8_t(l), uint8_t(a >> 8), uint8_t(a), uint8_t(a >> 8), uint8_t(a),
                              uint8_t(s >> 8), uint8_t(s), uint8_t(outputLength >> 8), uint8_t(outputLength)};
  // Sized once and filled in place: header, tokens, then the four zero bytes.
  std::vector<uint8_t> r(sizeof header + tokens.size() + 4, 0);
  std::copy(std::begin(header), std::end(header), r.begin());
  std::copy(tokens.begin(), tokens.end(), r.begin() + sizeof header);
  return r;
}

}  // namespace test_support
