// Letter code to display text and back, for each letter base, with and without Reverse.
#include <gtest/gtest.h>

#include <string>

#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/fake/fake_platform.h"

namespace {

class LetterCodeTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetAll(); }
  void TearDown() override { ResetConversionBuffer(); }

  std::u16string Convert(const char* text, uint32_t length) {
    char16_t* out = ToDisplayText(reinterpret_cast<const uint8_t*>(text), length, nullptr, base_, reverse_);
    EXPECT_NE(out, nullptr);
    std::u16string s(out);
    platform::Free(out);
    return s;
  }
  std::string LetterCode(const char16_t* input) {
    uint8_t out[kSearchStringSize];
    ToLetterCode(input, out, base_);
    return reinterpret_cast<const char*>(out);
  }

  int32_t base_ = 1488;
  bool reverse_ = false;
};

TEST_F(LetterCodeTest, HebrewBaseMapsLettersAndKeepsOtherBytes) {
  const char text[] = "a{~|}\xE0 1";
  EXPECT_EQ(Convert(text, 8), (std::u16string{0x05D0, 0x05EA, u'{', u'|', u'}', 0x00E0, u' ', u'1'}));
}

TEST_F(LetterCodeTest, CodePageAndLatinBases) {
  base_ = 224;
  EXPECT_EQ(Convert("a{", 2), (std::u16string{0xE0, 0xFA}));
  base_ = 97;
  EXPECT_EQ(Convert("a{~", 3), u"a{{");
}

TEST_F(LetterCodeTest, ReverseAppliesOnlyAwayFromTheLatinBase) {
  reverse_ = true;
  base_ = 97;
  EXPECT_EQ(Convert("(ab)", 4), u"(ab)");
  base_ = 224;
  EXPECT_EQ(Convert("(ab)", 4), (std::u16string{u'(', 225, 224, u')'}));
  base_ = 1488;
  EXPECT_EQ(Convert("[a]~b}", 6), (std::u16string{u'{', 0x05D1, u'}', u'[', 0x05D0, u']'}));
  // '<' and '>' are not mirrored.
  EXPECT_EQ(Convert("<a", 2), (std::u16string{0x05D0, u'<'}));
  reverse_ = false;
  EXPECT_EQ(Convert("(ab)", 4), (std::u16string{u'(', 0x05D0, 0x05D1, u')'})) << "the option is off";
}

TEST_F(LetterCodeTest, LengthZeroAndEarlyEnd) {
  reverse_ = true;
  EXPECT_EQ(Convert("ab", 0), u"");
  EXPECT_EQ(Convert("ab\0cd", 5), (std::u16string{0x05D1, 0x05D0}));
  EXPECT_EQ(Convert("abcd", 2), (std::u16string{0x05D1, 0x05D0}));
}

TEST_F(LetterCodeTest, SharedBufferGrowsOnlyWhenNeeded) {
  const uint8_t* text = reinterpret_cast<const uint8_t*>("abcdefgh");
  char16_t* first = ToDisplayText(text, 8, &gConversionBuffer, 1488, false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(gConversionBuffer.capacity, 8u);
  const int made = fake::AllocationsMade();
  char16_t* second = ToDisplayText(text, 3, &gConversionBuffer, 1488, false);
  EXPECT_EQ(second, first);
  EXPECT_EQ(fake::AllocationsMade(), made) << "a shorter text reuses the block";
  EXPECT_EQ(std::u16string(second), (std::u16string{0x05D0, 0x05D1, 0x05D2}));

  // A failed growth keeps the old block and answers none.
  fake::FailAllocation(1);
  const uint8_t* longer = reinterpret_cast<const uint8_t*>("abcdefghijklmnop");
  EXPECT_EQ(ToDisplayText(longer, 16, &gConversionBuffer, 1488, false), nullptr);
  EXPECT_EQ(gConversionBuffer.block, first);
  EXPECT_EQ(gConversionBuffer.capacity, 8u);
  EXPECT_EQ(fake::LiveBlocks(), 1);
}

TEST_F(LetterCodeTest, ReverseLeavesTextWhenItsBlockCannotBeHad) {
  char16_t text[] = u"(ab";
  fake::FailAllocation(1);
  EXPECT_EQ(ReverseDisplayText(text, 3), 1);
  EXPECT_EQ(std::u16string(text), u"(ab");
  EXPECT_EQ(ReverseDisplayText(text, 3), 0);
  EXPECT_EQ(std::u16string(text), u"ba)");
}

TEST_F(LetterCodeTest, LetterCodeBracketsMirrorLikeTheirDisplayUnits) {
  struct Case {
    uint8_t byte;
    uint8_t mirrored;
  };
  const Case cases[] = {
      {'(', ')'}, {')', '('}, {'[', ']'}, {']', '['}, {kLiteralBrace, '}'}, {'}', kLiteralBrace},
      {'{', '{'},  // the last letter, not a brace
      {'a', 'a'}, {'<', '<'}, {' ', ' '}, {0xE0, 0xE0},
  };
  for (const Case& c : cases) EXPECT_EQ(MirrorLetterCodeBracket(c.byte), c.mirrored) << int(c.byte);
}

TEST_F(LetterCodeTest, ToLetterCodeFoldsSpacesAndKeepsLowBytes) {
  base_ = 97;
  EXPECT_EQ(LetterCode(u"  a  b "), " a b ");

  base_ = 1488;
  const char16_t hebrew[] = {0x05D0, u'*', 0x05EA, u'?', u'{', 0x0141, 0};
  EXPECT_EQ(LetterCode(hebrew), "a*{?{A");  // '{' typed stays 0x7B; U+0141 keeps 0x41
  EXPECT_EQ(LetterCode(u""), "");
}

// Only the 27 units from the base are letters: the ones just outside keep their low byte
// (an off-by-one at the top turned base + 27 into the byte 0x7C, '|').
TEST_F(LetterCodeTest, ToLetterCodeTakesExactlyTheTwentySevenLettersOfTheBase) {
  struct Case {
    int32_t base;
    char16_t unit;
    uint8_t byte;
  };
  const Case cases[] = {
      {1488, 1488, 0x61}, {1488, 1514, 0x7B}, {1488, 1515, 0xEB}, {1488, 1487, 0xCF},
      {224, 224, 0x61},   {224, 250, 0x7B},   {224, 251, 0xFB},   {224, 223, 0xDF},
      {97, 97, 0x61},     {97, 123, 0x7B},    {97, 124, 0x7C},    {97, 96, 0x60},
  };
  for (const Case& c : cases) {
    base_ = c.base;
    const char16_t input[] = {c.unit, 0};
    EXPECT_EQ(LetterCode(input), std::string(1, char(c.byte))) << "base " << c.base << " unit " << int(c.unit);
  }
}

TEST_F(LetterCodeTest, ToLetterCodeNeverWritesPastTheSearchString) {
  std::u16string longInput(100, u'1');
  uint8_t out[kSearchStringSize + 8];
  std::fill(std::begin(out), std::end(out), 0xAA);
  ToLetterCode(longInput.c_str(), out, 1488);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), std::string(33, '1'));
  EXPECT_EQ(out[kSearchStringSize], 0xAA);
}

// --- Stream walkers --------------------------------------------------------------------

TEST(StreamsTest, ParagraphWalkAndTitles) {
  const uint8_t stream[] = {0xDC, 0, 'a', 0, 0xD1, 0, 'b', 'c', 0, 0x31, 0x45, 0, 0};
  const uint8_t* end = stream + sizeof stream;
  uint32_t offset = 0;
  ParagraphRecord r;
  ASSERT_TRUE(NextParagraph(stream, end, &offset, &r));
  EXPECT_EQ(r.flags, 0xDC);
  EXPECT_EQ(r.length, 1u);
  ASSERT_TRUE(NextParagraph(stream, end, &offset, &r));
  EXPECT_EQ(r.offset, 4u);
  EXPECT_EQ(r.length, 2u);
  ASSERT_TRUE(NextParagraph(stream, end, &offset, &r));
  EXPECT_EQ(r.param, 0x45);
  EXPECT_EQ(r.length, 0u);
  EXPECT_FALSE(NextParagraph(stream, end, &offset, &r));

  TitleRecords titles;
  FindTitles(stream, end, &titles);
  ASSERT_NE(titles.title, nullptr);
  ASSERT_NE(titles.subtitle, nullptr);
  EXPECT_EQ(titles.subtitle->text, stream + 6);

  const uint8_t onlyTitle[] = {0xDC, 0, 'a', 0, 0};
  FindTitles(onlyTitle, onlyTitle + sizeof onlyTitle, &titles);
  EXPECT_NE(titles.title, nullptr);
  EXPECT_EQ(titles.subtitle, nullptr);

  const uint8_t onlySubtitle[] = {0xD1, 0, 'a', 0, 0};
  FindTitles(onlySubtitle, onlySubtitle + sizeof onlySubtitle, &titles);
  EXPECT_EQ(titles.title, nullptr);
  EXPECT_NE(titles.subtitle, nullptr);
}

TEST(StreamsTest, UnterminatedRecordsEndTheWalk) {
  const uint8_t stream[] = {0x10, 0, 'a', 'b'};  // no 0 before the buffer ends
  uint32_t offset = 0;
  ParagraphRecord r;
  EXPECT_FALSE(NextParagraph(stream, stream + sizeof stream, &offset, &r));
  const uint8_t index[] = {0x11, 0x40, 0x90, 2, 'a'};
  IndexRecord ir;
  offset = 0;
  EXPECT_FALSE(NextIndexRecord(index, index + sizeof index, &offset, &ir));
}

TEST(StreamsTest, IndexKeysAndEnd) {
  const uint8_t index[] = {0x11, 0x40, 0x90, 2, 'a', 0, 0x11, 0x80, 0xD0, 0, 0, 0, 0, 0, 0, 0};
  const uint8_t* end = index + sizeof index;
  uint32_t offset = 0;
  IndexRecord r;
  ASSERT_TRUE(NextIndexRecord(index, end, &offset, &r));
  EXPECT_EQ(r.key, kIndexEntry | 17);
  EXPECT_EQ(r.key & kIndexArticleMask, 17);
  EXPECT_EQ(r.param, 2);
  ASSERT_TRUE(NextIndexRecord(index, end, &offset, &r));
  EXPECT_EQ(r.key, kIndexHeading | 17);
  EXPECT_FALSE(r.key & kIndexEntry);
  EXPECT_EQ(r.length, 0u);
  EXPECT_FALSE(NextIndexRecord(index, end, &offset, &r));
}

}  // namespace
