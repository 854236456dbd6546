// Loading and decoding articles: every reason code, the token kinds, and malformed input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "content/article.h"
#include "lz77_reference.h"
#include "platform/fake/fake_platform.h"
#include "support/article_resource.h"

namespace {

std::vector<uint8_t> MakeResource(const std::vector<uint8_t>& tokens, uint16_t outputLength) {
  return test_support::ArticleResource(tokens, outputLength);
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// Back-reference token for a distance and length.
std::vector<uint8_t> BackRef(unsigned distance, unsigned length) {
  const unsigned w = 0x8000 | (distance << 3) | (length - 3);
  return {uint8_t(w >> 8), uint8_t(w)};
}

std::string Decoded(const uint8_t* buffer, size_t u) { return std::string(reinterpret_cast<const char*>(buffer), u); }

class ArticleTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetAll(); }
  void TearDown() override { EXPECT_EQ(fake::LiveBlocks(), 0) << "a load leaked"; }

  // Loads article 1 from the given resource and returns the decoded text or the reason.
  uint8_t* Load(const std::vector<uint8_t>& resource, int* reason) {
    fake::AddResource(1001, 10, resource);
    return LoadArticle(1, reason);
  }
};

TEST_F(ArticleTest, ResourceIdentifierWrapsAtSixteenBits) {
  EXPECT_EQ(ArticleResourceId(1), 1001);
  EXPECT_EQ(ArticleResourceId(286), 1286);
  EXPECT_EQ(ArticleResourceId(kTableOfContentsArticle), 32767);
  EXPECT_EQ(ArticleResourceId(65000), uint16_t(66000));
}

TEST_F(ArticleTest, ArticleBelowOneGivesNothingAndStoresNoCode) {
  int reason = 99;
  EXPECT_EQ(LoadArticle(0, &reason), nullptr);
  EXPECT_EQ(LoadArticle(-7, &reason), nullptr);
  EXPECT_EQ(reason, 99);
}

TEST_F(ArticleTest, ReasonCodesForMissingEmptyAndUnloadableResources) {
  int reason = 0;
  EXPECT_EQ(LoadArticle(287, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNoResource);

  fake::AddResource(1002, 10, {});
  reason = 0;
  EXPECT_EQ(LoadArticle(2, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNoMemory);

  fake::AddResource(1003, 10, MakeResource({'a'}, 1));
  fake::FailResourceLoad(1003);
  reason = 0;
  EXPECT_EQ(LoadArticle(3, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNoMemory);

  // A resource of another type is not an article.
  fake::AddResource(1004, 5, MakeResource({'a'}, 1));
  reason = 0;
  EXPECT_EQ(LoadArticle(4, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNoResource);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(ArticleTest, MalformedHeaderCodes) {
  int reason = 0;
  auto r = MakeResource({'a', 'b'}, 2);
  r[0] = 0, r[1] = 4;  // L = 4 even though S and U look valid
  EXPECT_EQ(Load(r, &reason), nullptr);
  EXPECT_EQ(reason, kLoadMalformedBlock);

  r = MakeResource({'a', 'b'}, 2);
  r[6] = 0, r[7] = 0;  // S = 0
  reason = 0;
  EXPECT_EQ(Load(r, &reason), nullptr);
  EXPECT_EQ(reason, kLoadMalformedBlock);

  r = MakeResource({'a', 'b'}, 0);  // U = 0
  reason = 0;
  EXPECT_EQ(Load(r, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNothingToDecode);

  DecompressionDescriptor none{nullptr, 3, 3};
  reason = 0;
  EXPECT_EQ(UnCompress(&none, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNothingToDecode);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// Every size from 1 to 9 bytes lacks part of the ten-byte header (L, two sequence values,
// S, U): malformed, never read past. (A check of "fewer than 9" let the 9-byte resource
// read U's second byte from outside it.)
TEST_F(ArticleTest, ResourceShorterThanItsHeaderIsMalformedNotOverread) {
  const std::vector<uint8_t> header = {0, 9, 0, 21, 0, 21, 0, 1, 0, 1};
  for (size_t size = 1; size < header.size(); ++size) {
    fake::ResetAll();
    int reason = 0;
    EXPECT_EQ(Load(std::vector<uint8_t>(header.begin(), header.begin() + long(size)), &reason), nullptr) << size;
    EXPECT_EQ(reason, kLoadMalformedBlock) << size;
  }
}

TEST_F(ArticleTest, DecodesEveryTokenKind) {
  // literal run of 3, single literals, a space pair ("  " + 'A'^... ), a back-reference
  std::vector<uint8_t> tokens = {0x03, 0xE9, 0x01, 0x80, 'x', 'y'};
  tokens.push_back(0xC1);  // space + 'A'
  auto ref = BackRef(3, 4);  // copies "yA" pattern from 3 back: ' ', 'A' ...
  tokens.insert(tokens.end(), ref.begin(), ref.end());
  const std::string expected = std::string("\xE9\x01\x80xy A") + "y Ay";
  int reason = 0;
  uint8_t* out = Load(MakeResource(tokens, uint16_t(expected.size())), &reason);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, expected.size()), expected);
  EXPECT_EQ(out[expected.size()], 0);
  EXPECT_EQ(reason, 0) << "success stores no code";
  platform::Free(out);
}

TEST_F(ArticleTest, OverlappingBackReferenceRepeatsLastByte) {
  std::vector<uint8_t> tokens = {'x'};
  auto ref = BackRef(1, 10);
  tokens.insert(tokens.end(), ref.begin(), ref.end());
  uint8_t* out = Load(MakeResource(tokens, 11), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 11), std::string(11, 'x'));
  platform::Free(out);
}

TEST_F(ArticleTest, OutputFullEndsDecodingSuccessfully) {
  // Output fills exactly at the last token.
  uint8_t* out = Load(MakeResource(Bytes("abc"), 3), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 4), std::string("abc\0", 4));
  platform::Free(out);

  // Compressed bytes left over after the output is full are ignored.
  out = Load(MakeResource(Bytes("abcdef"), 2), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), std::string("ab\0", 3));
  platform::Free(out);

  // A space pair whose space is the last byte: the second character is dropped.
  out = Load(MakeResource({'a', 0xC1}, 2), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), std::string("a \0", 3));
  platform::Free(out);

  // A literal run of 8 with room for 3.
  out = Load(MakeResource({0x08, '1', '2', '3', '4', '5', '6', '7', '8'}, 3), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), "123");
  platform::Free(out);

  // A back-reference cut short by the output's end.
  std::vector<uint8_t> tokens = {'a', 'b'};
  auto ref = BackRef(2, 10);
  tokens.insert(tokens.end(), ref.begin(), ref.end());
  out = Load(MakeResource(tokens, 5), nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 5), "ababa");
  platform::Free(out);
}

void ExpectLengthMismatch(uint8_t* out, int reason) {
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(reason, kLoadLengthMismatch);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  const auto& box = fake::MessageBoxes()[0];
  EXPECT_EQ(box.text, u"UnCompress() buffer error!");
  EXPECT_FALSE(box.hasCaption);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, platform::kMbOk);
  EXPECT_EQ(box.icon, 0u);
}

TEST_F(ArticleTest, ShortInputIsALengthMismatch) {
  int reason = 0;
  uint8_t* out = Load(MakeResource(Bytes("abc"), 10), &reason);
  ExpectLengthMismatch(out, reason);
}

// Input outside the format is reported like a length mismatch instead of reading
// outside the compressed data or before the start of the output.
TEST_F(ArticleTest, BackReferenceBeforeOutputStartIsRefused) {
  std::vector<uint8_t> tokens = {'a'};
  auto ref = BackRef(2, 3);  // only one byte produced so far
  tokens.insert(tokens.end(), ref.begin(), ref.end());
  int reason = 0;
  uint8_t* out = Load(MakeResource(tokens, 4), &reason);
  ExpectLengthMismatch(out, reason);
}

TEST_F(ArticleTest, BackReferenceOfDistanceZeroIsRefused) {
  std::vector<uint8_t> tokens = {'a', 0x80, 0x00};
  int reason = 0;
  uint8_t* out = Load(MakeResource(tokens, 4), &reason);
  ExpectLengthMismatch(out, reason);
}

TEST_F(ArticleTest, OperandsPastTheCompressedDataAreRefused) {
  int reason = 0;
  // Literal run of 5 with only 2 bytes left in the data.
  std::vector<uint8_t> r = MakeResource({0x05, 'a', 'b'}, 5);
  // The trailer's zero bytes follow in the resource; the decoder must not take them.
  uint8_t* first = Load(r, &reason);
  ExpectLengthMismatch(first, reason);

  fake::ResetMessageBoxes();
  reason = 0;
  uint8_t* out = Load(MakeResource({'a', 'b', 0x80}, 5), &reason);
  ExpectLengthMismatch(out, reason);
}

// The compressed data ends exactly where a token still wants its operands. Each case
// decodes one byte more than the data holds, so reading one byte past the data (the
// trailer, or past a resource without one) would fill the output and pass.
TEST_F(ArticleTest, DataEndingOneByteShortIsALengthMismatch) {
  struct Case {
    const char* what;
    std::vector<uint8_t> tokens;
    uint16_t outputLength;
    int sMore;         // S claims this many bytes more than the tokens
    bool withTrailer;  // the four zero bytes follow the tokens
  };
  const Case cases[] = {
      {"literal run of 3 with 2 bytes left", {0x03, 'a', 'b'}, 3, 0, true},
      {"literal run of 3 with 2 bytes left, no trailer", {0x03, 'a', 'b'}, 3, 0, false},
      {"S one byte more than the resource holds", {'a', 'b', 'c'}, 4, 1, false},
      {"back-reference without its second byte", {'a', 'b', 0x80}, 4, 0, true},
  };
  for (const Case& c : cases) {
    fake::ResetAll();
    std::vector<uint8_t> r = MakeResource(c.tokens, c.outputLength);
    if (!c.withTrailer) r.resize(r.size() - 4);
    const uint16_t s = uint16_t(c.tokens.size() + unsigned(c.sMore));
    r[6] = uint8_t(s >> 8), r[7] = uint8_t(s);
    int reason = 0;
    uint8_t* out = Load(r, &reason);
    SCOPED_TRACE(c.what);
    ExpectLengthMismatch(out, reason);
  }
}

TEST_F(ArticleTest, CompressedLengthBeyondTheResourceIsClipped) {
  // S claims 200 bytes but the resource ends after 3: the decoder stops at the data's end.
  auto r = MakeResource(Bytes("abc"), 3);
  r.resize(r.size() - 4);  // no trailer
  r[6] = 0, r[7] = 200;
  r[0] = 0, r[1] = 208;
  uint8_t* out = Load(r, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), "abc");
  platform::Free(out);
}

TEST_F(ArticleTest, BlockLengthIsNotComparedWithTheCompressedLength) {
  auto r = MakeResource(Bytes("abc"), 3);
  r[0] = 0, r[1] = 5;  // L = 5 is enough, whatever S says
  uint8_t* out = Load(r, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), "abc");
  platform::Free(out);
}

TEST_F(ArticleTest, LiteralRunCutShortByTheOutputNeedsOnlyTheBytesItCopies) {
  // A run of 8 whose last 5 bytes are missing, in a resource without a trailer: the
  // output is full after 3 of them.
  auto r = MakeResource({0x08, 'x', 'y', 'z'}, 3);
  r.resize(r.size() - 4);
  uint8_t* out = Load(r, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), "xyz");
  platform::Free(out);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(ArticleTest, AllocationFailureStoresCodeTwo) {
  fake::AddResource(1001, 10, MakeResource(Bytes("abc"), 3));
  fake::FailAllocation(1);
  int reason = 0;
  EXPECT_EQ(LoadArticle(1, &reason), nullptr);
  EXPECT_EQ(reason, kLoadNoMemory);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(ArticleTest, TableOfContentsLoadsFromResource32767) {
  fake::AddResource(32767, 10, MakeResource(Bytes("toc"), 3));
  uint32_t length = 0;
  uint8_t* out = LoadArticle(kTableOfContentsArticle, nullptr, &length);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Decoded(out, 3), "toc");
  EXPECT_EQ(length, 3u) << "the decompressed length is reported";
  platform::Free(out);
}

// The decoder against the plain byte-by-byte one on long random token streams, so that
// every token kind meets its fast path (far from both ends) and its checked path (near
// them), with distances below, at and above the 8-byte word. Both must agree on success,
// on the bytes, and on refusing a back-reference before the start, an operand past the
// input, and a stream that ends early.
TEST_F(ArticleTest, AgreesWithThePlainDecoderOnRandomStreams) {
  std::mt19937 random(20261208);
  const auto below = [&](uint32_t n) { return uint32_t(random() % n); };
  enum Shape { kExact, kOutputCutShort, kOutputTooLong, kInputCutShort, kBadDistance, kShapes };
  int successes = 0, refusals = 0;
  for (int round = 0; round < 2000; ++round) {
    const Shape shape = Shape(round % kShapes);
    std::vector<uint8_t> tokens;
    uint32_t produced = 0;
    uint32_t badLength = 0;  // output of the bad back-reference, had it been good
    const uint32_t tokenCount = 1 + below(400);
    for (uint32_t i = 0; i < tokenCount; ++i) {
      const bool bad = shape == kBadDistance && i == tokenCount / 2;
      const uint32_t kind = bad ? 3 : below(4);
      if (kind == 0) {
        const uint8_t run = uint8_t(1 + below(8));
        tokens.push_back(run);
        for (uint8_t k = 0; k < run; ++k) tokens.push_back(uint8_t(below(256)));
        produced += run;
      } else if (kind == 1 || (produced == 0 && !bad)) {
        tokens.push_back(uint8_t(9 + below(0x77)));
        produced += 1;
      } else if (kind == 2) {
        tokens.push_back(uint8_t(0xC0 + below(64)));
        produced += 2;
      } else {
        const uint32_t reach = std::min<uint32_t>(produced, 2047);
        const uint32_t length = 3 + below(8);
        uint32_t distance = 0;
        if (bad) {
          // Distance 0, or one byte further back than the output's start.
          distance = below(2) == 0 || produced >= 2047 ? 0 : produced + 1;
          badLength = length;
        } else {
          distance = below(3) == 0 ? 1 + below(std::min<uint32_t>(reach, 7))
                   : below(2) == 0 ? 1 + below(std::min<uint32_t>(reach, 16))
                                   : 1 + below(reach);
        }
        const auto ref = BackRef(distance, length);
        tokens.insert(tokens.end(), ref.begin(), ref.end());
        produced += length;
      }
    }
    uint32_t u = produced;
    if (shape == kOutputCutShort) u = 1 + below(produced);
    if (shape == kOutputTooLong) u = produced + 1 + below(20);
    if (shape == kInputCutShort && tokens.size() > 1) tokens.resize(1 + below(uint32_t(tokens.size() - 1)));
    // Exactly what the other tokens make: a decoder that skipped the bad back-reference
    // instead of refusing it would succeed.
    if (shape == kBadDistance) u = std::max<uint32_t>(produced - badLength, 1);
    u = std::min<uint32_t>(u, 0xFFFF);

    std::vector<uint8_t> expected(u);
    const bool plainOk = lz77_reference::PlainDecode(tokens.data(), tokens.size(), expected.data(), u);
    // An exact-size copy, so that a sanitizer build sees any read past the input.
    const std::vector<uint8_t> input(tokens);
    const DecompressionDescriptor descriptor{input.data(), uint32_t(input.size()), u};
    int reason = 0;
    uint8_t* out = UnCompress(&descriptor, &reason);
    SCOPED_TRACE(testing::Message() << "round " << round << ", shape " << shape);
    ASSERT_EQ(out != nullptr, plainOk);
    if (out) {
      EXPECT_EQ(std::vector<uint8_t>(out, out + u), expected);
      EXPECT_EQ(out[u], 0);
      EXPECT_EQ(reason, 0);
      platform::Free(out);
      ++successes;
    } else {
      EXPECT_EQ(reason, kLoadLengthMismatch);
      ++refusals;
    }
  }
  // Both outcomes are well represented, so neither half of the comparison is empty.
  EXPECT_GT(successes, 600);
  EXPECT_GT(refusals, 600);
}

}  // namespace
