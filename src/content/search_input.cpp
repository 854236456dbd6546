#include "content/search_input.h"

#include <iterator>

namespace {

constexpr char16_t kAlef = 0x05D0;
constexpr char16_t kTav = 0x05EA;

// What each Hebrew presentation form U+FB1D.. stands for in letters: its letter without
// points, the letters of a ligature, "" for the one point of the block (dropped like the
// others), and none for the unassigned positions.
constexpr char16_t kPresentationFirst = 0xFB1D;
constexpr const char16_t* kPresentationForms[] = {
    u"\u05D9",        // FB1D yod with hiriq
    u"",              // FB1E point varika
    u"\u05D9\u05D9",  // FB1F ligature yod yod patah
    u"\u05E2", u"\u05D0", u"\u05D3", u"\u05D4", u"\u05DB", u"\u05DC", u"\u05DD", u"\u05E8", u"\u05EA",  // FB20..FB28 wide letters
    u"+",                                                                                             // FB29 alternative plus sign
    u"\u05E9", u"\u05E9", u"\u05E9", u"\u05E9",  // FB2A..FB2D shin with dots
    u"\u05D0", u"\u05D0", u"\u05D0",             // FB2E..FB30 alef with patah, qamats, mapiq
    u"\u05D1", u"\u05D2", u"\u05D3", u"\u05D4", u"\u05D5", u"\u05D6", nullptr,  // FB31..FB37
    u"\u05D8", u"\u05D9", u"\u05DA", u"\u05DB", u"\u05DC", nullptr, u"\u05DE", nullptr,  // FB38..FB3F
    u"\u05E0", u"\u05E1", nullptr, u"\u05E3", u"\u05E4", nullptr,                    // FB40..FB45
    u"\u05E6", u"\u05E7", u"\u05E8", u"\u05E9", u"\u05EA",                           // FB46..FB4A
    u"\u05D5", u"\u05D1", u"\u05DB", u"\u05E4",                                      // FB4B..FB4E with holam or rafe
    u"\u05D0\u05DC",                                                                 // FB4F ligature alef lamed
};
constexpr char16_t kPresentationLast = char16_t(kPresentationFirst + std::size(kPresentationForms) - 1);
static_assert(kPresentationLast == 0xFB4F);

// Characters that carry no letter for the book: format characters and invisible marks.
bool IsDropped(char32_t c) {
  if (c >= 0x0591 && c <= 0x05C7) return true;  // points and accents (the marks among them are mapped first)
  switch (c) {
    case 0x00AD:  // soft hyphen
    case 0x034F:  // combining grapheme joiner, between points in some pointed editions
    case 0x061C:  // Arabic letter mark
    case 0x2060:  // word joiner
    case 0xFEFF:  // byte-order mark, zero-width no-break space
      return true;
    default:
      break;
  }
  return (c >= 0x200B && c <= 0x200F) ||  // zero-width space, joiners, LRM, RLM
         (c >= 0x202A && c <= 0x202E) ||  // embeddings, overrides, pop
         (c >= 0x2066 && c <= 0x2069);    // isolates
}

// Characters that stand for one the book holds: Hebrew punctuation and the spaces.
char16_t MappedMark(char32_t c) {
  switch (c) {
    case 0x05BE: return u'-';   // maqaf
    case 0x05C0: return u'|';   // paseq
    case 0x05C3: return u':';   // sof pasuq
    case 0x05F3: return u'\'';  // geresh
    case 0x05F4: return u'"';   // gershayim
    case u'\t':
    case u'\n':
    case u'\r':
    case 0x00A0:  // no-break space
    case 0x202F:  // narrow no-break space
      return u' ';
    default:
      break;
  }
  if (c >= 0x2000 && c <= 0x200A) return u' ';  // the fixed-width spaces
  return 0;
}

// Whether the letter code stores c as a byte of its own that reads back as c.
bool HeldAsIs(char32_t c) {
  if (c >= kAlef && c <= kTav) return true;
  if (c >= 0x20 && c <= 0x7D) return !(c >= u'a' && c <= u'z');
  return c >= 0xA1 && c <= 0xFF;
}

}  // namespace

bool NormaliseTypedText(std::u16string_view text, std::u16string* out, char32_t* refused) {
  std::u16string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (const char16_t mark = MappedMark(c)) {
      result.push_back(mark);
    } else if (IsDropped(c)) {
      continue;
    } else if (HeldAsIs(c)) {
      result.push_back(char16_t(c));
    } else if (c >= 0x05F0 && c <= 0x05F2) {
      // Yiddish ligatures: double vav, vav yod, double yod.
      static constexpr char16_t kLigatures[3][2] = {{0x05D5, 0x05D5}, {0x05D5, 0x05D9}, {0x05D9, 0x05D9}};
      result.append(kLigatures[c - 0x05F0], 2);
    } else if (c >= kPresentationFirst && c <= kPresentationLast && kPresentationForms[c - kPresentationFirst]) {
      result.append(kPresentationForms[c - kPresentationFirst]);
    } else {
      if (refused) *refused = c;
      return false;
    }
  }
  *out = std::move(result);
  return true;
}

char16_t HebrewOnLatinKey(char16_t typed) {
  // The Israeli layout's unshifted characters on the keys of a..z.
  static constexpr char16_t kLetterKeys[26] = {
      0x05E9, 0x05E0, 0x05D1, 0x05D2, 0x05E7, 0x05DB, 0x05E2,  // a b c d e f g
      0x05D9, 0x05DF, 0x05D7, 0x05DC, 0x05DA, 0x05E6, 0x05DE,  // h i j k l m n
      0x05DD, 0x05E4, u'/',   0x05E8, 0x05D3, 0x05D0, 0x05D5,  // o p q r s t u
      0x05D4, u'\'',  0x05E1, 0x05D8, 0x05D6,                  // v w x y z
  };
  if (typed >= u'a' && typed <= u'z') return kLetterKeys[typed - u'a'];
  switch (typed) {
    case u';': return 0x05E3;
    case u',': return 0x05EA;
    case u'.': return 0x05E5;
    case u'/': return u'.';
    case u'\'': return u',';
    default: return typed;
  }
}
