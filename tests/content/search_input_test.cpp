// Text as typed or pasted, normalised to what the book holds, and the Latin keyboard layout.
#include <gtest/gtest.h>

#include <string>

#include "content/search_input.h"

namespace {

struct NormaliseCase {
  const char* what;
  std::u16string input;
  std::u16string expected;  // empty with refused set: the text is refused
  char32_t refused;
};

const NormaliseCase kNormaliseCases[] = {
    {"plain letters stay", u"משכן", u"משכן", 0},
    {"points are dropped", u"בְּרֵאשִׁית", u"בראשית", 0},
    {"accents are dropped", u"בְּרֵאשִׁ֖ית", u"בראשית", 0},
    {"meteg, rafe, upper and lower dots go", u"\u05D0\u05BD\u05D1\u05BF\u05D2\u05C4\u05D3\u05C5\u05D4\u05C7",
     u"אבגדה", 0},
    {"maqaf is the book's hyphen", u"כָּל־הָעָם", u"כל-העם", 0},
    {"sof pasuq, paseq", u"הארץ׃ ויאמר ׀ לו", u"הארץ: ויאמר | לו", 0},
    {"gershayim and geresh", u"רמב״ם ג׳", u"רמב\"ם ג'", 0},
    {"no-break and narrow spaces", u"בראשית\u00A0ברא\u202Fאלהים", u"בראשית ברא אלהים", 0},
    {"tab and line ends of a paste", u"\tמשה\r\n", u" משה  ", 0},
    {"bidi marks", u"\u200Fמשה\u200E", u"משה", 0},
    {"embeddings and overrides", u"\u202Aא\u202Bב\u202Cג\u202Dד\u202Eה", u"אבגדה", 0},
    {"isolates", u"\u2066א\u2067ב\u2068ג\u2069", u"אבג", 0},
    {"zero-width characters, joiner, byte-order mark", u"\uFEFFא\u200Bב\u200Cג\u200Dד\u2060ה", u"אבגדה", 0},
    {"soft hyphen and grapheme joiner", u"ירו\u00ADשלם\u034F", u"ירושלם", 0},
    {"presentation forms", u"\uFB2A\uFB31\uFB4B\uFB3A\uFB43", u"שבוךף", 0},
    {"wide letters", u"\uFB21\uFB26\uFB28", u"אםת", 0},
    {"ligatures", u"\uFB4F\uFB1F\u05F0\u05F1\u05F2", u"אליי" u"וווייי", 0},
    {"the presentation block's point", u"\u05D0\uFB1E", u"א", 0},
    {"wildcards, digits, capitals, punctuation", u"*מ?ה 12:5 ABC ()[]{}|,.-", u"*מ?ה 12:5 ABC ()[]{}|,.-", 0},
    {"Latin-1 letters the book can hold", u"\u00E9\u00A9", u"\u00E9\u00A9", 0},
    {"nothing left is no refusal", u"\u05B0\u200F", u"", 0},
    {"small Latin letters are refused", u"משה abc", u"", U'a'},
    {"tilde is refused", u"~", u"", U'~'},
    {"Arabic is refused", u"\u0627", u"", 0x0627},
    {"typographic quote is refused", u"\u201Dא", u"", 0x201D},
    {"unassigned presentation position", u"\uFB37", u"", 0xFB37},
    {"control character", u"\u0007", u"", 0x0007},
    {"C1 control", u"\u0085", u"", 0x0085},
    {"a surrogate pair names its code point", u"א\U0001F600", u"", 0x1F600},
    {"a lone surrogate", u"א\xD800", u"", 0xD800},
    {"the refused character is the first", u"א\u0627x", u"", 0x0627},
};

TEST(NormaliseTypedTextTest, Table) {
  for (const NormaliseCase& c : kNormaliseCases) {
    SCOPED_TRACE(c.what);
    std::u16string out = u"unchanged";
    char32_t refused = 0;
    const bool held = NormaliseTypedText(c.input, &out, &refused);
    if (c.refused) {
      EXPECT_FALSE(held);
      EXPECT_EQ(refused, c.refused);
      EXPECT_EQ(out, u"unchanged");
    } else {
      EXPECT_TRUE(held);
      EXPECT_EQ(out, c.expected);
      EXPECT_EQ(refused, 0u);
    }
  }
}

// Every assigned presentation form becomes letters (or, for the one point, nothing) and
// never a character outside the Hebrew letters, '+' of the alternative plus sign aside.
TEST(NormaliseTypedTextTest, EveryPresentationFormBecomesLetters) {
  const std::u16string unassigned = u"\uFB37\uFB3D\uFB3F\uFB42\uFB45";
  for (char16_t c = 0xFB1D; c <= 0xFB4F; ++c) {
    SCOPED_TRACE(int(c));
    std::u16string out;
    char32_t refused = 0;
    const bool held = NormaliseTypedText(std::u16string(1, c), &out, &refused);
    if (unassigned.find(c) != std::u16string::npos) {
      EXPECT_FALSE(held);
      continue;
    }
    ASSERT_TRUE(held);
    EXPECT_LE(out.size(), 2u);
    EXPECT_EQ(out.empty(), c == 0xFB1E);
    for (char16_t unit : out) EXPECT_TRUE((unit >= 0x05D0 && unit <= 0x05EA) || (c == 0xFB29 && unit == u'+'));
  }
}

TEST(HebrewOnLatinKeyTest, TheIsraeliLayout) {
  const std::u16string latin = u"qwertyuiopasdfghjkl;'zxcvbnm,./";
  const std::u16string hebrew = u"/'קראטוןםפשדגכעיחלךף,זסבהנמצתץ.";
  ASSERT_EQ(latin.size(), hebrew.size());
  for (size_t i = 0; i < latin.size(); ++i) EXPECT_EQ(HebrewOnLatinKey(latin[i]), hebrew[i]) << char(latin[i]);
  std::u16string typed;
  for (char16_t c : std::u16string(u"nafi")) typed.push_back(HebrewOnLatinKey(c));
  EXPECT_EQ(typed, u"משכן");
}

TEST(HebrewOnLatinKeyTest, CapitalsDigitsAndHebrewStay) {
  for (char16_t c : std::u16string(u"ABZ019 *?-א ת[]")) EXPECT_EQ(HebrewOnLatinKey(c), c) << int(c);
}

}  // namespace
