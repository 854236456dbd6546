// Source text to letter code and back.
#include "solmar-book/book_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Encode(const std::string& source) {
  std::string bytes, error;
  EXPECT_TRUE(book::EncodeText(source, &bytes, &error)) << error;
  return bytes;
}

TEST(BookText, HebrewLettersBecomeTheLetterCodeInUnicodeOrder) {
  std::string source;
  std::string expected;
  for (char32_t c = 0x05D0; c <= 0x05EA; ++c) {
    source += char(0xC0 | c >> 6);
    source += char(0x80 | (c & 0x3F));
    expected += char(0x61 + (c - 0x05D0));
  }
  EXPECT_EQ(Encode(source), expected);
  EXPECT_EQ(expected.back(), '{');  // tav is the 27th code, 0x7B
}

TEST(BookText, VisualOrderReversesLettersButKeepsNumbersAndMirrorsBrackets) {
  std::string text = Encode("\xd7\x90 12:5 (\xd7\x91) [C3.4] {");  // alef 12:5 (bet) [C3.4] {
  const std::string reading = text;
  book::ToVisualOrder(&text);
  EXPECT_EQ(text, "} [C3.4] (b) 12:5 a");
  book::ToVisualOrder(&text);
  EXPECT_EQ(text, reading) << "the conversion is its own inverse";

  // A separator not between two run characters stays outside the run.
  std::string trailing = Encode("12: AB");
  book::ToVisualOrder(&trailing);
  EXPECT_EQ(trailing, "AB :12");
  std::string beforeLetter = Encode("\xd7\x90:12");  // alef:12, the ':' joins no run
  book::ToVisualOrder(&beforeLetter);
  EXPECT_EQ(beforeLetter, "12:a");
}

TEST(BookText, BraceEscapesAndHighBytes) {
  EXPECT_EQ(Encode("{"), "~");
  EXPECT_EQ(Encode("}|"), "}|");
  EXPECT_EQ(Encode("\\\\ \\s \\x7e\\x7E \\xFf"), "\\   ~~ \xFF");
  EXPECT_EQ(Encode("\xC2\x80\xC3\xBF"), "\x80\xFF");  // U+0080, U+00FF
  EXPECT_EQ(Encode("AZ 09 .,:;!?\"'()[]-*/`^_@#$%&=+<>"), "AZ 09 .,:;!?\"'()[]-*/`^_@#$%&=+<>");
}

TEST(BookText, EveryByteStringSurvivesDecodeThenEncode) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  EXPECT_EQ(Encode(book::DecodeText(all)), all);
  std::mt19937 random(3);
  for (int i = 0; i < 200; ++i) {
    std::string bytes(1 + random() % 40, ' ');
    for (char& c : bytes) c = char(1 + random() % 255);
    if (i % 3 == 0) bytes.front() = bytes.back() = ' ';
    EXPECT_EQ(Encode(book::DecodeText(bytes)), bytes);
  }
}

TEST(BookText, DecodedTextKeepsItsEndSpacesVisible) {
  EXPECT_EQ(book::DecodeText(" a b "), "\\sא ב\\s");
  EXPECT_EQ(book::DecodeText(" "), "\\s");
  EXPECT_EQ(book::DecodeText("\x7E\\\x01"), "{\\\\\\x01");
}

}  // namespace
