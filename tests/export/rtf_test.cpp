// The RTF body and document: escapes, spaces, braces, line ends, presentation forms, and
// joining to an earlier document.
#include <cstring>

#include "export_fixture.h"

namespace export_test {
namespace {

using RtfTest = ExportTest;

TEST_F(RtfTest, BodyOfEachKindOfUnit) {
  const struct {
    const char* name;
    std::u16string text;
    std::string expected;
  } cases[] = {
      {"letters are escapes", {kBet, kAlef}, "\\u1489\\u1488\\par\\par\r\n"},
      {"one space after an escape doubles", {kAlef, u' ', kBet}, "\\u1488  \\u1489\\par\\par\r\n"},
      {"three spaces after an escape become four", {kAlef, u' ', u' ', u' ', kBet}, "\\u1488    \\u1489\\par\\par\r\n"},
      // Regression: a space after a plain character or at a line start is not a delimiter.
      {"space after a plain character stays one", u"x y", "x y\\par\\par\r\n"},
      {"spaces after a control symbol stay", u"\\  x", "\\\\  x\\par\\par\r\n"},
      {"spaces at a line start stay", u"a\r\n  b", "a\\par\\par\r\n  b\\par\\par\r\n"},
      // Regression: a digit right after an escape would lengthen its number.
      {"digit after an escape gets a delimiter", {kAlef, u'5', u'7'}, "\\u1488 57\\par\\par\r\n"},
      {"other characters after an escape do not", {kAlef, u':', kBet, u'-'}, "\\u1488:\\u1489-\\par\\par\r\n"},
      {"braces and backslash", u"{a}\\", "\\{a\\}\\\\\\par\\par\r\n"},
      {"CR and LF runs make one line end", u"a\r\n\r\n\n\rb\r\n", "a\\par\\par\r\nb\\par\\par\r\n\\par\\par\r\n"},
      {"control and wide units", u"\t\u007F\u3042\uFFFD", "\\u9\\u127\\u12354\\u65533\\par\\par\r\n"},
      {"shin with dagesh and shin dot", u"\uFB2C", "\\u1513\\u1468\\u1473\\par\\par\r\n"},
      {"vav with holam", u"\uFB4B", "\\u1493\\u1465\\par\\par\r\n"},
      {"reserved slot is no form", u"\uFB37", "\\u64311\\par\\par\r\n"},
      {"empty text", u"", "\\par\\par\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtfBody(c.text), c.expected) << c.name;
}

TEST_F(RtfTest, PresentationFormTable) {
  const char16_t keys[] = {0xFB2A, 0xFB2B, 0xFB2C, 0xFB2D, 0xFB30, 0xFB31, 0xFB32, 0xFB33, 0xFB34,
                           0xFB35, 0xFB36, 0xFB38, 0xFB39, 0xFB3A, 0xFB3B, 0xFB3C, 0xFB3E, 0xFB40,
                           0xFB41, 0xFB43, 0xFB44, 0xFB46, 0xFB47, 0xFB48, 0xFB49, 0xFB4A, 0xFB4B};
  int found = 0;
  for (char16_t c = 0xFB00; c < 0xFB60; ++c) {
    const char16_t* entry = FindPresentationForm(c);
    const bool listed = std::find(std::begin(keys), std::end(keys), c) != std::end(keys);
    ASSERT_EQ(entry != nullptr, listed) << std::hex << unsigned(c);
    if (!entry) continue;
    ++found;
    EXPECT_EQ(entry[0], c);
    // A Hebrew letter first, then points; three units only for shin with dagesh and a dot.
    EXPECT_TRUE(entry[1] >= 0x05D0 && entry[1] <= 0x05EA);
    EXPECT_TRUE(entry[2] >= 0x05B0 && entry[2] <= 0x05C2);
    EXPECT_EQ(entry[3] != 0, c == 0xFB2C || c == 0xFB2D);
    // The letters with a dagesh lie in the letters' own order, U+FB30 being alef's.
    if (c >= 0xFB30 && c <= 0xFB4A) {
      EXPECT_EQ(entry[1], char16_t(0x05D0 + (c - 0xFB30))) << std::hex << unsigned(c);
      EXPECT_EQ(entry[2], 0x05BC) << std::hex << unsigned(c);
    }
  }
  EXPECT_EQ(found, 27);
  for (char16_t c : {char16_t(0), char16_t(0x05D0), char16_t(0x05EA), char16_t(0xFB29), char16_t(0xFB4C)})
    EXPECT_EQ(FindPresentationForm(c), nullptr);
  const char16_t* sinDagesh = FindPresentationForm(0xFB2D);
  EXPECT_EQ(std::u16string(sinDagesh + 1, 3), (std::u16string{0x05E9, 0x05BC, 0x05C2}));
}

TEST_F(RtfTest, JoiningToAnEarlierDocument) {
  const std::string body = "\\u1488\\par\\par\r\n";
  const struct {
    const char* name;
    std::string previous;
    std::string kept;
  } cases[] = {
      {"closing brace, CR LF and spaces go", "{\\rtf1 x}\r\n  \t ", "{\\rtf1 x"},
      {"only one brace goes", "{\\rtf1 {x}}", "{\\rtf1 {x}"},
      {"no brace at the end", "{\\rtf1 x\r\n", "{\\rtf1 x"},
      {"all blanks", " \r\n", ""},
      {"a lone brace", "}", ""},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out(body.size() + c.previous.size() + kRtfAppendExtra, 0xEE);
    const size_t written =
        JoinRtfDocument(out.data(), reinterpret_cast<const uint8_t*>(c.previous.data()), c.previous.size(),
                        reinterpret_cast<const uint8_t*>(body.data()), body.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data()), written),
              c.kept + kSeparator + body + "}\r\n" + std::string(1, '\0'))
        << c.name;
  }
  // No earlier data, or an empty block of it, starts a document of its own.
  const uint8_t emptyBlock[1] = {'}'};
  for (const uint8_t* previous : {static_cast<const uint8_t*>(nullptr), emptyBlock}) {
    std::vector<uint8_t> fresh(body.size() + kRtfNewDocumentExtra);
    const size_t written =
        JoinRtfDocument(fresh.data(), previous, 0, reinterpret_cast<const uint8_t*>(body.data()), body.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(fresh.data()), written),
              std::string(kHeader) + body + "}\r\n" + std::string(1, '\0'));
  }
}

TEST_F(RtfTest, SizingPassCountsEachKind) {
  // 13 at the start; per escape 5, 6 or 7 by the value's digits (6 per unit of a form); two
  // per escaped symbol, one per other byte; 12 per line end; runs of spaces k, or k + 1 after
  // an escape; one more for a digit after an escape.
  const struct {
    std::u16string text;
    size_t expected;
  } cases[] = {
      {u"", 13},
      {u"\u00E0\u05D0\u3042", 13 + 5 + 6 + 7},
      {u"\uFB2C\uFB2A", 13 + 18 + 12},
      {u"{a\r\n\r\n", 13 + 2 + 1 + 12},
      {u"a   b\u05D0   b", 13 + 1 + 3 + 1 + 6 + 4 + 1},
      {u"\u05D0" u"5", 13 + 6 + 2},
  };
  for (const auto& c : cases) EXPECT_EQ(MeasureRtfBody(c.text.c_str()), c.expected) << int(&c - cases);
}

TEST_F(RtfTest, SizingPassHoldsRandomText) {
  // Units drawn from the kinds the body treats apart, in runs that meet in every order.
  const char16_t pool[] = {u' ', u' ', u'\r', u'\n', u'\\', u'{', u'}', u'7', u'0', u'x', u'\t', 0x7F,
                           999,  1000,  9999,  10000, 0xFFFF, 0x05D0, 0xFB2C, 0xFB4B, 0xFB37};
  uint32_t seed = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    const int length = int(seed % 64);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      text.push_back(pool[(seed >> 16) % (sizeof pool / sizeof pool[0])]);
    }
    seed = seed * 1103515245u + 12345u;
    const std::string body = RtfBody(text);
    ASSERT_LE(body.size(), MeasureRtfBody(text.c_str())) << round;
  }
}

TEST_F(RtfTest, DocumentOfCommandLine) {
  size_t length = 0;
  uint8_t* document = MakeRtfDocument(u"\u05D0", &length);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(document), length),
            std::string(kHeader) + "\\u1488\\par\\par\r\n}\r\n");
  EXPECT_EQ(document[length], 0);
  platform::Free(document);
}

}  // namespace
}  // namespace export_test
