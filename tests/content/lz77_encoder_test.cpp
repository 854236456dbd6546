// The LZ77 encoder: every output decodes exactly through UnCompress, uses whole tokens
// only, and is as small as the format allows.
#include "content/lz77_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "content/article.h"
#include "lz77_reference.h"
#include "platform/fake/fake_platform.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromString(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct TokenCounts {
  size_t runs = 0, bares = 0, references = 0, spacePairs = 0;
  size_t produced = 0;     // output bytes the tokens stand for
  bool wellFormed = true;  // no token's operands run past the stream
};

TokenCounts CountTokens(const Bytes& tokens) {
  TokenCounts counts;
  for (size_t i = 0; i < tokens.size();) {
    const uint8_t t = tokens[i++];
    if (t >= 0x01 && t <= 0x08) {
      ++counts.runs;
      if (tokens.size() - i < t) counts.wellFormed = false;
      i += t;
      counts.produced += t;
    } else if (t < 0x80) {
      ++counts.bares;
      counts.produced += 1;
    } else if (t < 0xC0) {
      ++counts.references;
      if (i >= tokens.size()) counts.wellFormed = false;
      counts.produced += ((unsigned(t) << 8 | (i < tokens.size() ? tokens[i] : 0)) & 7) + 3;
      i += 1;
    } else {
      ++counts.spacePairs;
      counts.produced += 2;
    }
  }
  return counts;
}

// Decodes through the reader's decoder; fails the test on any decoder complaint.
Bytes Decode(const Bytes& tokens, size_t size) {
  fake::ResetAll();
  static const uint8_t kEmpty = 0;
  const DecompressionDescriptor descriptor{tokens.empty() ? &kEmpty : tokens.data(), uint32_t(tokens.size()),
                                           uint32_t(size)};
  int reason = 0;
  uint8_t* buffer = UnCompress(&descriptor, &reason);
  EXPECT_NE(buffer, nullptr) << "reason " << reason;
  if (!buffer) return {};
  EXPECT_EQ(buffer[size], 0);
  Bytes out(buffer, buffer + size);
  platform::Free(buffer);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  return out;
}

// Compresses, then proves the stream is made of whole tokens that decode to the input.
Bytes CompressChecked(const Bytes& data) {
  const Bytes tokens = Lz77Compress(data.data(), data.size());
  const TokenCounts counts = CountTokens(tokens);
  EXPECT_TRUE(counts.wellFormed);
  EXPECT_EQ(counts.produced, data.size()) << "a token runs past the end of the data";
  if (!data.empty()) {
    EXPECT_EQ(Decode(tokens, data.size()), data);
  }
  return tokens;
}

Bytes RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = uint8_t(random());
  return out;
}

// Letter-code-like text: words of the 27 letters, spaces, punctuation, now and then a byte
// that needs a literal run.
Bytes TextLike(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::string> words;
  for (int w = 0; w < 300; ++w) {
    std::string word;
    const int length = 2 + int(random() % 6);
    for (int i = 0; i < length; ++i) word.push_back(char(0x61 + random() % 27));
    words.push_back(word);
  }
  Bytes out;
  while (out.size() < size) {
    const std::string& word = words[std::min<size_t>(random() % 300, random() % 300)];  // skewed, like text
    out.insert(out.end(), word.begin(), word.end());
    const unsigned r = random() % 40;
    if (r == 0) out.push_back(':');
    if (r == 1) out.push_back(0x00);  // record ends
    if (r == 2) out.push_back(0x30 | uint8_t(random() % 0x100 & 0xC0));
    if (r == 3) out.push_back(0xE9);
    out.push_back(' ');
  }
  out.resize(size);
  return out;
}

Bytes Repeated(size_t size, uint8_t byte) { return Bytes(size, byte); }

TEST(Lz77Encoder, EmptyInputGivesEmptyStream) { EXPECT_TRUE(Lz77Compress(nullptr, 0).empty()); }

TEST(Lz77Encoder, EdgeLengthsRoundTrip) {
  for (size_t size : {1u, 2u, 3u, 8u, 9u, 10u, 11u, 2047u, 2048u, 2049u, 65535u}) {
    SCOPED_TRACE(size);
    CompressChecked(RandomBytes(size, uint32_t(size)));
    CompressChecked(TextLike(size, uint32_t(size)));
    CompressChecked(Repeated(size, 'a'));
    CompressChecked(Repeated(size, 0x00));
    CompressChecked(Repeated(size, 0x80));
    CompressChecked(Repeated(size, ' '));
  }
}

TEST(Lz77Encoder, RandomDataRoundTripsAndExpandsAtMostByAnEighth) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const Bytes data = RandomBytes(1 + seed * 997 % 20000, seed);
    const Bytes tokens = CompressChecked(data);
    EXPECT_LE(tokens.size(), data.size() + (data.size() + 7) / 8);
  }
}

TEST(Lz77Encoder, TextRoundTripsAndShrinks) {
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    const Bytes data = TextLike(30000 + seed * 1234, seed);
    const Bytes tokens = CompressChecked(data);
    EXPECT_LT(tokens.size(), data.size() * 3 / 4);
  }
}

TEST(Lz77Encoder, LongRunsBecomeChainsOfOverlappingReferences) {
  // One literal, then references of length 10 at distance 1: 2 bytes per 10 input bytes.
  const Bytes zeros = CompressChecked(Repeated(10001, 0x00));
  EXPECT_EQ(zeros.size(), 1u + 2 * 1000);
  // A byte that needs a literal run costs two bytes for the first copy.
  const Bytes high = CompressChecked(Repeated(16, 0x85));
  EXPECT_EQ(high, (Bytes{0x01, 0x85, 0x80, 0x0F, 0x80, 0x0A}));
}

TEST(Lz77Encoder, EachTokenKindHasItsExactEncoding) {
  EXPECT_EQ(CompressChecked(FromString("ab")), FromString("ab"));
  EXPECT_EQ(CompressChecked(FromString(" a")), Bytes{0xE1});               // space pair
  EXPECT_EQ(CompressChecked(Bytes{0x05}), (Bytes{0x01, 0x05}));            // run of one
  EXPECT_EQ(CompressChecked(Bytes{0xFF, 0x01, 0x80}), (Bytes{0x03, 0xFF, 0x01, 0x80}));
  EXPECT_EQ(CompressChecked(FromString("abcabc")), (Bytes{'a', 'b', 'c', 0x80, 0x18}));  // distance 3, length 3
  // A space before a byte outside 0x40..0x7F cannot pair.
  EXPECT_EQ(CompressChecked(FromString(" 1")), FromString(" 1"));
}

TEST(Lz77Encoder, RunsNeverExceedEightBytes) {
  const Bytes data = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88};
  const Bytes tokens = CompressChecked(data);
  EXPECT_EQ(tokens.size(), 11u);
  EXPECT_EQ(CountTokens(tokens).runs, 2u);
}

TEST(Lz77Encoder, UsesAllFourTokenKindsOnBookText) {
  Bytes data = TextLike(5000, 7);
  const TokenCounts counts = CountTokens(CompressChecked(data));
  EXPECT_GT(counts.runs, 0u);
  EXPECT_GT(counts.bares, 0u);
  EXPECT_GT(counts.references, 0u);
  EXPECT_GT(counts.spacePairs, 0u);
}

TEST(Lz77Encoder, ReachesBackExactly2047BytesAndNoFurther) {
  // Ten bytes that occur nowhere else, repeated at distance 2047 and then 2048. Distance
  // 2048 does not fit the 11-bit field; written anyway it would turn into a space pair.
  const Bytes pattern = {0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99};
  for (size_t distance : {2047u, 2048u}) {
    SCOPED_TRACE(distance);
    Bytes data = pattern;
    data.resize(distance, ' ');
    data.insert(data.end(), pattern.begin(), pattern.end());
    const Bytes tokens = CompressChecked(data);
    EXPECT_EQ(tokens.size(), lz77_reference::OptimalSize(data.data(), data.size()));
    const bool endsWithFarReference = tokens.size() >= 2 && tokens[tokens.size() - 2] == 0xBF && tokens.back() == 0xFF;
    EXPECT_EQ(endsWithFarReference, distance == 2047);  // distance 2047, length 10
  }
}

TEST(Lz77Encoder, OptimalParseBeatsGreedy) {
  // Greedy takes "abc" (3 bytes) and then "defghijk"; the better parse sends 'a' alone and
  // then "bcdefghijk" as one reference of 10.
  const Bytes data = FromString("abcZbcdefghijkQabcdefghijk");
  const Bytes tokens = CompressChecked(data);
  EXPECT_EQ(tokens.size(), 15u + 1 + 2);
  EXPECT_EQ(lz77_reference::GreedyCompress(data.data(), data.size()).size(), 15u + 2 + 2);
}

TEST(Lz77Encoder, MatchesExhaustiveOptimumAndNeverLosesToGreedy) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    const size_t size = 1 + seed * 131 % 6000;
    Bytes data;
    switch (seed % 4) {
      case 0: data = TextLike(size, seed); break;
      case 1: data = RandomBytes(size, seed); break;
      case 2: {  // few symbols, many near matches
        std::mt19937 random(seed);
        data.resize(size);
        for (uint8_t& b : data) b = uint8_t("ab \x81"[random() % 4]);
        break;
      }
      default: {  // text with long exact repeats
        data = TextLike(size / 2 + 1, seed);
        const Bytes again(data.begin(), data.end());
        data.insert(data.end(), again.begin(), again.end());
        data.resize(size);
      }
    }
    const Bytes tokens = CompressChecked(data);
    EXPECT_EQ(tokens.size(), lz77_reference::OptimalSize(data.data(), data.size()));
    EXPECT_LE(tokens.size(), lz77_reference::GreedyCompress(data.data(), data.size()).size());
  }
}

TEST(Lz77Encoder, GreedyReferenceRoundTrips) {
  // The greedy reference is only a yardstick if it is itself a valid encoder.
  const Bytes data = TextLike(4000, 11);
  const Bytes tokens = lz77_reference::GreedyCompress(data.data(), data.size());
  EXPECT_EQ(Decode(tokens, data.size()), data);
}

}  // namespace
