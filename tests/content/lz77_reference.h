// Deliberately simple LZ77 references for the codec's tests and benchmarks: a greedy
// encoder (what a straightforward PalmDoc compressor does), the exact optimal size by
// exhaustive search, and a plain byte-by-byte decoder. The two encoders search every
// distance byte by byte, so they are slow but obviously right; keep their inputs to a few
// tens of kilobytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace lz77_reference {

inline bool IsBare(uint8_t b) { return b == 0x00 || (b >= 0x09 && b <= 0x7F); }
inline bool IsPairTail(uint8_t b) { return b >= 0x40 && b <= 0x7F; }

// Longest match (at most 10) for position i over distances 1..2047; *distance gets the
// nearest distance of that length.
inline size_t LongestMatch(const uint8_t* data, size_t size, size_t i, size_t* distance) {
  size_t best = 0;
  const size_t limit = std::min<size_t>(10, size - i);
  for (size_t d = 1; d <= std::min<size_t>(2047, i); ++d) {
    size_t length = 0;
    while (length < limit && data[i - d + length] == data[i + length]) ++length;
    if (length > best) {
      best = length;
      *distance = d;
    }
  }
  return best;
}

// At every position: the longest back-reference of 3 or more, else a space pair, else a
// bare literal, else the byte joins a literal run.
inline std::vector<uint8_t> GreedyCompress(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  std::vector<uint8_t> run;
  const auto flush = [&] {
    if (run.empty()) return;
    out.push_back(uint8_t(run.size()));
    out.insert(out.end(), run.begin(), run.end());
    run.clear();
  };
  for (size_t i = 0; i < size;) {
    size_t distance = 0;
    const size_t length = LongestMatch(data, size, i, &distance);
    if (length >= 3) {
      flush();
      const unsigned w = 0x8000u | unsigned(distance) << 3 | unsigned(length - 3);
      out.push_back(uint8_t(w >> 8));
      out.push_back(uint8_t(w));
      i += length;
    } else if (data[i] == ' ' && i + 1 < size && IsPairTail(data[i + 1])) {
      flush();
      out.push_back(uint8_t(data[i + 1] ^ 0x80));
      i += 2;
    } else if (IsBare(data[i])) {
      flush();
      out.push_back(data[i]);
      i += 1;
    } else {
      run.push_back(data[i]);
      if (run.size() == 8) flush();
      i += 1;
    }
  }
  flush();
  return out;
}

// The smallest size of a stream of whole tokens that decodes to data.
inline size_t OptimalSize(const uint8_t* data, size_t size) {
  std::vector<size_t> cost(size + 1, std::numeric_limits<size_t>::max() / 2);
  cost[size] = 0;
  for (size_t i = size; i-- > 0;) {
    size_t best = cost[i];
    if (IsBare(data[i])) best = std::min(best, 1 + cost[i + 1]);
    if (data[i] == ' ' && i + 1 < size && IsPairTail(data[i + 1])) best = std::min(best, 1 + cost[i + 2]);
    for (size_t run = 1; run <= 8 && i + run <= size; ++run) best = std::min(best, 1 + run + cost[i + run]);
    size_t distance = 0;
    const size_t longest = LongestMatch(data, size, i, &distance);
    for (size_t length = 3; length <= longest; ++length) best = std::min(best, 2 + cost[i + length]);
    cost[i] = best;
  }
  return cost[0];
}

// The PalmDoc decoder written the plain way, one byte at a time with every bound checked
// at every byte: the yardstick for the reader's decoder, in its tests and its benchmark.
// Decodes inSize token bytes into exactly outSize bytes of out; false when the tokens end
// early, or an operand lies past the input, or a back-reference reaches before out.
inline bool PlainDecode(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
  const uint8_t* const inEnd = in + inSize;
  uint8_t* const start = out;
  uint8_t* const outEnd = out + outSize;
  while (in < inEnd && out < outEnd) {
    const uint8_t t = *in++;
    if (t >= 0x01 && t <= 0x08) {
      for (uint8_t i = 0; i < t && out < outEnd; ++i) {
        if (in >= inEnd) return false;
        *out++ = *in++;
      }
    } else if (t < 0x80) {
      *out++ = t;
    } else if (t < 0xC0) {
      if (in >= inEnd) return false;
      const unsigned w = unsigned(t) << 8 | *in++;
      const size_t distance = (w >> 3) & 0x7FF;
      size_t length = (w & 7) + 3;
      if (distance == 0 || distance > size_t(out - start)) return false;
      const uint8_t* from = out - distance;
      while (length-- && out < outEnd) *out++ = *from++;
    } else {
      *out++ = ' ';
      if (out >= outEnd) break;
      *out++ = uint8_t(t ^ 0x80);
    }
  }
  return out == outEnd;
}

}  // namespace lz77_reference
