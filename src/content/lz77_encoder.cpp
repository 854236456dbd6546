#include "content/lz77_encoder.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kMaxDistance = 2047;
constexpr uint32_t kMinMatch = 3;
constexpr uint32_t kMaxMatch = 10;
constexpr uint32_t kMaxRun = 8;

// Hash chains over 3-byte prefixes. Only the last kMaxDistance positions can be referred
// to, so the chain links live in a ring of 2048 slots: a slot is overwritten only after its
// position has left the window.
constexpr int kHashBits = 15;
constexpr uint32_t kRingSize = 2048;
constexpr uint32_t kRingMask = kRingSize - 1;
constexpr int32_t kNone = -1;

bool IsBareLiteral(uint8_t b) { return b == 0x00 || (b >= 0x09 && b <= 0x7F); }
bool IsSpacePairTail(uint8_t b) { return b >= 0x40 && b <= 0x7F; }

uint32_t Hash3(const uint8_t* p) {
  const uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  return (v * 2654435761u) >> (32 - kHashBits);
}

enum class Token : uint8_t { kBare, kSpacePair, kMatch, kRun };

struct Step {
  Token token;
  uint8_t length;  // input bytes the token covers
};

}  // namespace

std::vector<uint8_t> Lz77Compress(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  if (size == 0) return out;

  // Pass 1: the longest back-reference (capped at 10) available at every position, with
  // its distance. Any shorter length at the same distance is a valid reference too, and
  // every reference costs two bytes, so the longest one is all the parse needs.
  std::vector<uint8_t> matchLength(size, 0);
  std::vector<uint16_t> matchDistance(size, 0);
  std::vector<int32_t> head(size_t(1) << kHashBits, kNone);
  std::vector<int32_t> chain(kRingSize, kNone);
  for (size_t i = 0; i + kMinMatch <= size; ++i) {
    const uint32_t hash = Hash3(data + i);
    const uint32_t limit = uint32_t(std::min<size_t>(kMaxMatch, size - i));
    uint32_t best = 0;
    uint32_t bestDistance = 0;
    for (int32_t candidate = head[hash]; candidate != kNone; candidate = chain[uint32_t(candidate) & kRingMask]) {
      const size_t distance = i - size_t(candidate);
      if (distance > kMaxDistance) break;
      const uint8_t* a = data + candidate;
      const uint8_t* b = data + i;
      // A candidate can only win if it also matches at the current best length.
      if (best > 0 && a[best] != b[best]) continue;
      uint32_t length = 0;
      while (length < limit && a[length] == b[length]) ++length;
      if (length > best) {
        best = length;
        bestDistance = uint32_t(distance);
        if (best == limit) break;
      }
    }
    if (best >= kMinMatch) {
      matchLength[i] = uint8_t(best);
      matchDistance[i] = uint16_t(bestDistance);
    }
    chain[i & kRingMask] = head[hash];
    head[hash] = int32_t(i);
  }

  // Pass 2: cost[i] = fewest output bytes that encode data[i..size). Every token's cost
  // depends only on the bytes it covers, so this shortest path is the optimum.
  constexpr uint32_t kInfinite = std::numeric_limits<uint32_t>::max();
  std::vector<uint32_t> cost(size + 1, kInfinite);
  std::vector<Step> choice(size);
  cost[size] = 0;
  for (size_t i = size; i-- > 0;) {
    uint32_t best = kInfinite;
    Step step{Token::kRun, 1};
    const auto consider = [&](uint32_t tokenCost, size_t covered, Token token) {
      const uint32_t total = tokenCost + cost[i + covered];
      if (total < best) {
        best = total;
        step = Step{token, uint8_t(covered)};
      }
    };
    if (IsBareLiteral(data[i])) consider(1, 1, Token::kBare);
    if (data[i] == 0x20 && i + 1 < size && IsSpacePairTail(data[i + 1])) consider(1, 2, Token::kSpacePair);
    for (uint32_t length = matchLength[i]; length >= kMinMatch; --length) consider(2, length, Token::kMatch);
    const size_t runLimit = std::min<size_t>(kMaxRun, size - i);
    for (size_t run = 1; run <= runLimit; ++run) consider(uint32_t(1 + run), run, Token::kRun);
    cost[i] = best;
    choice[i] = step;
  }

  // Pass 3: emit the chosen tokens from the front.
  out.reserve(cost[0]);
  for (size_t i = 0; i < size;) {
    const Step step = choice[i];
    switch (step.token) {
      case Token::kBare:
        out.push_back(data[i]);
        break;
      case Token::kSpacePair:
        out.push_back(uint8_t(data[i + 1] ^ 0x80));
        break;
      case Token::kMatch: {
        const uint32_t w = 0x8000u | uint32_t(matchDistance[i]) << 3 | uint32_t(step.length - kMinMatch);
        out.push_back(uint8_t(w >> 8));
        out.push_back(uint8_t(w & 0xFF));
        break;
      }
      case Token::kRun:
        out.push_back(step.length);
        out.insert(out.end(), data + i, data + i + step.length);
        break;
    }
    i += step.length;
  }
  return out;
}
