// Letter code to display text and back, for each letter base, with and without Reverse.
#include <gtest/gtest.h>

#include <string>

#include "content/letter_code.h"
#include "content/reader_settings.h"
#include "content/streams.h"
#include "platform/fake/fake_platform.h"

namespace {

class LetterCodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    ResetReaderSettings();
    gReaderSettings.fontSpec.fontAsciiBase = 1488;
  }
  void TearDown() override { ResetConversionBuffer(); }

  std::u16string Convert(const char* text, uint32_t length) {
    char16_t* out = ToDisplayText(reinterpret_cast<const uint8_t*>(text), length, nullptr);
    EXPECT_NE(out, nullptr);
    std::u16string s(out);
    platform::Free(out);
    return s;
  }
};

TEST_F(LetterCodeTest, HebrewBaseMapsLettersAndKeepsOtherBytes) {
  const char text[] = "a{~|}\xE0 1";
  EXPECT_EQ(Convert(text, 8), (std::u16string{0x05D0, 0x05EA, u'{', u'|', u'}', 0x00E0, u' ', u'1'}));
}

TEST_F(LetterCodeTest, CodePageAndLatinBases) {
  gReaderSettings.fontSpec.fontAsciiBase = 224;
  EXPECT_EQ(Convert("a{", 2), (std::u16string{0xE0, 0xFA}));
  gReaderSettings.fontSpec.fontAsciiBase = 97;
  EXPECT_EQ(Convert("a{~", 3), u"a{{");
}

TEST_F(LetterCodeTest, ReverseAppliesOnlyAwayFromTheLatinBase) {
  gReaderSettings.flags = kFlagReverse;
  gReaderSettings.fontSpec.fontAsciiBase = 97;
  EXPECT_EQ(Convert("(ab)", 4), u"(ab)");
  gReaderSettings.fontSpec.fontAsciiBase = 224;
  EXPECT_EQ(Convert("(ab)", 4), (std::u16string{u'(', 225, 224, u')'}));
  gReaderSettings.fontSpec.fontAsciiBase = 1488;
  EXPECT_EQ(Convert("[a]~b}", 6), (std::u16string{u'{', 0x05D1, u'}', u'[', 0x05D0, u']'}));
  // '<' and '>' are not mirrored.
  EXPECT_EQ(Convert("<a", 2), (std::u16string{0x05D0, u'<'}));
}

TEST_F(LetterCodeTest, LengthZeroAndEarlyEnd) {
  gReaderSettings.flags = kFlagReverse;
  EXPECT_EQ(Convert("ab", 0), u"");
  EXPECT_EQ(Convert("ab\0cd", 5), (std::u16string{0x05D1, 0x05D0}));
  EXPECT_EQ(Convert("abcd", 2), (std::u16string{0x05D1, 0x05D0}));
}

TEST_F(LetterCodeTest, SharedBufferGrowsOnlyWhenNeeded) {
  const uint8_t* text = reinterpret_cast<const uint8_t*>("abcdefgh");
  char16_t* first = ToDisplayText(text, 8, &gConversionBuffer);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(gConversionBuffer.capacity, 8u);
  const int made = fake::AllocationsMade();
  char16_t* second = ToDisplayText(text, 3, &gConversionBuffer);
  EXPECT_EQ(second, first);
  EXPECT_EQ(fake::AllocationsMade(), made) << "a shorter text reuses the block";
  EXPECT_EQ(std::u16string(second), (std::u16string{0x05D0, 0x05D1, 0x05D2}));

  // A failed growth keeps the old block and answers none.
  fake::FailAllocation(1);
  const uint8_t* longer = reinterpret_cast<const uint8_t*>("abcdefghijklmnop");
  EXPECT_EQ(ToDisplayText(longer, 16, &gConversionBuffer), nullptr);
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

TEST_F(LetterCodeTest, ToLetterCodeFoldsSpacesAndKeepsLowBytes) {
  uint8_t out[kSearchStringSize];
  gReaderSettings.fontSpec.fontAsciiBase = 97;
  ToLetterCode(u"  a  b ", out);
  EXPECT_STREQ(reinterpret_cast<char*>(out), " a b ");

  gReaderSettings.fontSpec.fontAsciiBase = 1488;
  const char16_t hebrew[] = {0x05D0, u'*', 0x05EA, u'?', u'{', 0x0141, 0};
  ToLetterCode(hebrew, out);
  EXPECT_STREQ(reinterpret_cast<char*>(out), "a*{?{A");  // '{' typed stays 0x7B; U+0141 keeps 0x41

  ToLetterCode(u"", out);
  EXPECT_EQ(out[0], 0);
}

TEST_F(LetterCodeTest, ToLetterCodeNeverWritesPastTheSearchString) {
  std::u16string longInput(100, u'1');
  uint8_t out[kSearchStringSize + 8];
  std::fill(std::begin(out), std::end(out), 0xAA);
  ToLetterCode(longInput.c_str(), out);
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
