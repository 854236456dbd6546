// Search input as people type and paste it, with what the search must make of it: one table
// for the search dialog (tests/search) and `solmar --find` (tests/e2e) alike.
#pragma once

#include <string>
#include <vector>

namespace typed_patterns {

struct TypedPattern {
  const char* what;
  std::u16string input;    // reading order, as typed or pasted
  std::u16string reading;  // the same pattern as the book's plain text writes it
  std::u16string stored;   // the stored search string, one unit per byte: Hebrew letters
                           // and ASCII, in stored (visual) order
  char32_t refused;        // nonzero: the input is refused, naming this character
};

inline const std::vector<TypedPattern>& Table() {
  static const std::vector<TypedPattern> table = {
      {"plain word", u"בראשית", u"בראשית", u"תישארב", 0},
      {"pointed", u"בְּרֵאשִׁית", u"בראשית", u"תישארב", 0},
      {"pointed and accented", u"בְּרֵאשִׁ֖ית", u"בראשית", u"תישארב", 0},
      {"maqaf", u"כָּל־", u"כל-", u"-לכ", 0},
      {"gershayim", u"ש״ע", u"ש\"ע", u"ע\"ש", 0},
      {"geresh", u"ה׳ ", u"ה' ", u" 'ה", 0},
      {"sof pasuq", u"הָאָֽרֶץ׃", u"הארץ:", u":ץראה", 0},
      {"ketiv in brackets", u"[היצא]", u"[היצא]", u"[אציה]", 0},
      {"presentation forms", u"\uFB2Aל\uFB4Bם", u"שלום", u"םולש", 0},
      {"bidi marks", u"\u200Fמשה\u200E", u"משה", u"השמ", 0},
      {"isolates and embeddings", u"\u2067משכן\u2069\u202B", u"משכן", u"ןכשמ", 0},
      {"no-break space", u"ויאמר\u00A0אלהים", u"ויאמר אלהים", u"םיהלא רמאיו", 0},
      {"plain letter for a final", u"מלכ", u"מלכ", u"כלמ", 0},
      {"star at the end", u"משה*", u"משה", u"השמ", 0},
      {"star at the start", u"*משה", u"משה", u"השמ", 0},
      {"question mark at the start", u"?משה", u"?משה", u"השמ?", 0},
      {"question mark at the end", u"משה?", u"משה?", u"?השמ", 0},
      {"Latin letters", u"abc", u"", u"", U'a'},
      {"Hebrew and Arabic", u"משה\u0627", u"", u"", 0x0627},
      {"typographic quote", u"ש\u201Dע", u"", u"", 0x201D},
      {"emoji", u"\U0001F600", u"", u"", 0x1F600},
  };
  return table;
}

// The stored letter-code bytes of a table's stored units.
inline std::string LetterCode(const std::u16string& stored) {
  std::string bytes;
  for (char16_t unit : stored) {
    if (unit >= 0x05D0 && unit <= 0x05EA)
      bytes.push_back(char(0x61 + (unit - 0x05D0)));
    else
      bytes.push_back(char(unit == u'{' ? 0x7E : unit));
  }
  return bytes;
}

}  // namespace typed_patterns
