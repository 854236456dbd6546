// The text of other programs' RTF documents: characters, fallbacks, code pages, groups that
// hold no text, and input that is cut short or malformed.
#include "export_fixture.h"

namespace export_test {
namespace {

using RtfTextTest = ExportTest;

std::u16string TextOf(const std::string& rtf) {
  size_t units = 99;
  char16_t* text = RtfToText(reinterpret_cast<const uint8_t*>(rtf.data()), rtf.size(), &units);
  if (!text) return u"<none>";
  std::u16string out(text, units);
  EXPECT_EQ(text[units], 0);
  platform::Free(text);
  return out;
}

TEST_F(RtfTextTest, CharactersAndParagraphs) {
  const struct {
    const char* name;
    std::string rtf;
    std::u16string expected;
  } cases[] = {
      {"plain text, file line ends dropped", "{\\rtf1 ab\r\nc}", u"abc"},
      {"paragraphs and lines", "{\\rtf1 a\\par b\\line c\\\r\nd}", u"a\r\nb\r\nc\r\nd"},
      {"a space ends a control word", "{\\rtf1\\b  x\\b0 y}", u" xy"},
      {"escaped symbols", "{\\rtf1 \\{\\}\\\\\\~\\_\\-}", u"{}\\\u00A0\u2011"},
      {"tab and quotes", "{\\rtf1 \\tab\\lquote x\\rquote\\emdash}", u"\t\u2018x\u2019\u2014"},
      // \uc1 unless said otherwise: one fallback byte, \'xx or a plain one, is dropped.
      {"default fallback of one", "{\\rtf1 \\u1488\\'3f\\u1489?c}", u"\u05D0\u05D1c"},
      {"\\uc0: nothing dropped", "{\\rtf1\\uc0 \\u1488\\u1489 c}", u"\u05D0\u05D1c"},
      {"\\uc2 drops two", "{\\rtf1\\uc2 \\u1488??c}", u"\u05D0c"},
      {"a control word counts as one", "{\\rtf1 \\u1488\\loch c}", u"\u05D0c"},
      {"a group ends the fallback", "{\\rtf1 \\u1488{x}}", u"\u05D0x"},
      {"\\uc belongs to its group", "{\\rtf1{\\uc0 \\u1488}\\u1489?}", u"\u05D0\u05D1"},
      {"negative values wrap", "{\\rtf1\\uc0 \\u-1280}", u"\uFB00"},
      {"value out of range", "{\\rtf1\\uc0 \\u70000}", u"\uFFFD"},
      // Code pages: the document's, or that of the font's character set.
      {"Latin code page", "{\\rtf1\\ansi \\'e0\\'80}", u"\u00E0\u20AC"},
      {"Hebrew code page", "{\\rtf1\\ansi\\ansicpg1255 \\'e0\\'fa\\'ca}", u"\u05D0\u05EA\uFFFD"},
      {"Hebrew font in a Latin document",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset177 B;}}\\'e0{\\f1 \\'e0}\\'e0}",
       u"\u00E0\u05D0\u00E0"},
      {"\\plain goes back to the default font",
       "{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset177 B;}}\\f0\\'e0\\plain\\'e0}", u"\u00E0\u05D0"},
      {"unknown code page", "{\\rtf1\\ansicpg932 \\'e0}", u"\uFFFD"},
      {"hex digits in either case", "{\\rtf1\\ansicpg1255 \\'E0\\'Fa\\'9F}", u"\u05D0\u05EA\uFFFD"},
      // Groups that are not text.
      {"tables and metadata",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title t}}x}", u"x"},
      {"\\* groups", "{\\rtf1{\\*\\generator LibreOffice;}{\\*\\unknown{nested}}x}", u"x"},
      {"a picture with binary data", "{\\rtf1{\\pict\\bin3 }}}y}x}", u"x"},
      {"a field shows its result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt link}}}", u"link"},
      // Input that does not end as it should.
      {"cut inside a word", "{\\rtf1 a\\pa", u"a"},
      {"cut inside \\'", "{\\rtf1 a\\'e", u"ae"},
      {"a bad hex digit", "{\\rtf1 \\'zz}", u"zz"},
      {"a lone backslash at the end", "{\\rtf1 a\\", u"a"},
      {"more closing braces", "}}a}}", u"a"},
      {"a 0 byte ends it", std::string("{\\rtf1 a\0b}", 11), u"a"},
      {"binary longer than the data", "{\\rtf1 x\\bin999 yz", u"x"},
      {"a long word and number", "{\\rtf1\\" + std::string(300, 'a') + "99999999999999999999 x}", u"x"},
      // Deep nesting: the deepest groups share a state, and the outer ones still close.
      {"nesting past the kept depth", "{\\rtf1{\\fonttbl" + std::string(5000, '{') + "f" + std::string(5000, '}') + "}x}", u"x"},
  };
  for (const auto& c : cases) {
    const std::u16string got = TextOf(c.rtf);
    EXPECT_TRUE(got == c.expected) << c.name << ": " << std::string(got.begin(), got.end());
  }
}

TEST_F(RtfTextTest, CodePagesMapEveryUpperByte) {
  // Every byte from 0x80 as \'xx in each code page, one a line.
  auto decode = [](const std::string& codePage) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg" + codePage + " ";
    const char* hex = "0123456789abcdef";
    for (int b = 0x80; b < 0x100; ++b) rtf += std::string("\\'") + hex[b >> 4] + hex[b & 15];
    return TextOf(rtf + "}");
  };
  const std::u16string latin = decode("1252"), hebrew = decode("1255");
  ASSERT_EQ(latin.size(), 128u);
  ASSERT_EQ(hebrew.size(), 128u);
  // The two agree on the punctuation of 0x80..0x9F where both have a character, and differ
  // only where one of them has none.
  const char16_t sharedPunctuation[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0,      0x2039, 0,      0xFFFD, 0,      0xFFFD,
                                          0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0,      0x203A, 0,      0xFFFD, 0,      0};
  for (int i = 0; i < 32; ++i) {
    if (!sharedPunctuation[i]) {
      EXPECT_EQ(hebrew[size_t(i)], 0xFFFD) << i;
      continue;
    }
    EXPECT_EQ(latin[size_t(i)], sharedPunctuation[i]) << i;
    EXPECT_EQ(hebrew[size_t(i)], sharedPunctuation[i]) << i;
  }
  EXPECT_EQ(latin.substr(0x0A, 1) + latin.substr(0x0C, 1) + latin.substr(0x0E, 1), u"\u0160\u0152\u017D");
  EXPECT_EQ(latin.substr(0x1A, 1) + latin.substr(0x1C, 1) + latin.substr(0x1E, 2), u"\u0161\u0153\u017E\u0178");
  for (int b = 0xA0; b < 0x100; ++b) {
    // Latin: the byte's own code point. Hebrew: the same, but for the sheqel sign, times
    // and division, and the points and letters from 0xC0.
    EXPECT_EQ(latin[size_t(b - 0x80)], char16_t(b)) << b;
    char16_t expected = char16_t(b);
    if (b == 0xA4) expected = 0x20AA;
    if (b == 0xAA) expected = 0x00D7;
    if (b == 0xBA) expected = 0x00F7;
    if (b >= 0xC0) expected = 0xFFFD;
    if (b >= 0xC0 && b <= 0xD3 && b != 0xCA) expected = char16_t(0x05B0 + (b - 0xC0));
    if (b >= 0xD4 && b <= 0xD8) expected = char16_t(0x05F0 + (b - 0xD4));
    if (b >= 0xE0 && b <= 0xFA) expected = char16_t(0x05D0 + (b - 0xE0));
    if (b == 0xFD || b == 0xFE) expected = char16_t(0x200E + (b - 0xFD));
    EXPECT_EQ(hebrew[size_t(b - 0x80)], expected) << b;
  }
}

TEST_F(RtfTextTest, ReadsBackOurOwnDocuments) {
  // Letters, points, presentation forms, digits after letters, spaces, braces, lines.
  const std::u16string text = u"\u05D0\u05B8 12 {\\} \uFB2C\r\n\r\n  x\u05EA";
  size_t length = 0;
  uint8_t* document = MakeRtfDocument(text.c_str(), &length);
  ASSERT_NE(document, nullptr);
  const std::u16string expected = u"\u05D0\u05B8 12 {\\} \u05E9\u05BC\u05C1\r\n\r\n  x\u05EA\r\n\r\n";
  EXPECT_TRUE(TextOf(std::string(reinterpret_cast<const char*>(document), length)) == expected);
  platform::Free(document);

  document = MakeRtfFromText(text.data(), text.size(), &length);
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(TextOf(std::string(reinterpret_cast<const char*>(document), length) + "}") ==
              u"\u05D0\u05B8 12 {\\} \u05E9\u05BC\u05C1\r\n\r\n  x\u05EA\r\n");
  platform::Free(document);
}

TEST_F(RtfTextTest, NoMemoryGivesNone) {
  fake::FailAllocation(1);
  EXPECT_TRUE(TextOf("{\\rtf1 x}") == u"<none>");
  size_t length = 99;
  fake::FailAllocation(1);
  EXPECT_EQ(MakeRtfFromText(u"x", 1, &length), nullptr);
  EXPECT_EQ(length, 0u);
}

TEST_F(RtfTextTest, ParagraphsOfEarlierTextFitTheirBlock) {
  // The sizing pass of the earlier text's paragraphs is never exceeded (the sanitizer build
  // of these tests reports a write past the block).
  const char16_t pool[] = {u' ', u'\r', u'\n', u'\\', u'{', u'7', u'x', 0x05D0, 0xFB2C, 999, 10000};
  uint32_t seed = 99;
  for (int round = 0; round < 500; ++round) {
    std::u16string text;
    for (int i = int(seed % 40); i > 0; --i) {
      seed = seed * 1103515245u + 12345u;
      text.push_back(pool[(seed >> 16) % (sizeof pool / sizeof pool[0])]);
    }
    seed = seed * 1103515245u + 12345u;
    size_t length = 0;
    uint8_t* document = MakeRtfFromText(text.data(), text.size(), &length);
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document[length], 0);
    // Every paragraph is ended, so an appended part never follows an open escape.
    if (!text.empty()) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(document) + length - 6), "\\par\r\n");
    }
    platform::Free(document);
  }
}

}  // namespace
}  // namespace export_test
