// Reading references: a small hand-written scanner over the normalised text.
#include "content/verse_reference.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/search_input.h"
#include "platform/platform.h"
#include "platform/ui_text.h"

namespace {

struct BookForm {
  const char16_t* text;
  int book;
  bool english;
};

// Every name a book is known by. English forms match in any case.
constexpr BookForm kBookForms[] = {
    {u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA", 0, false},  // בראשית
    {u"\u05E9\u05DE\u05D5\u05EA", 1, false},              // שמות
    {u"\u05D5\u05D9\u05E7\u05E8\u05D0", 2, false},        // ויקרא
    {u"\u05D1\u05DE\u05D3\u05D1\u05E8", 3, false},        // במדבר
    {u"\u05D3\u05D1\u05E8\u05D9\u05DD", 4, false},        // דברים
    {u"\u05D1\u05E8'", 0, false},                         // בר'
    {u"\u05E9\u05DE'", 1, false},                         // שמ'
    {u"\u05D5\u05D9\u05E7'", 2, false},                   // ויק'
    {u"\u05D1\u05DE'", 3, false},                         // במ'
    {u"\u05D3\u05D1'", 4, false},                         // דב'
    {u"genesis", 0, true},     {u"gen", 0, true},  {u"gn", 0, true},
    {u"exodus", 1, true},      {u"exod", 1, true}, {u"ex", 1, true},
    {u"leviticus", 2, true},   {u"lev", 2, true},
    {u"numbers", 3, true},     {u"num", 3, true},
    {u"deuteronomy", 4, true}, {u"deut", 4, true}, {u"dt", 4, true},
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsGeresh(char16_t c) { return c == u'\'' || c == u'"' || c == u'\u05F3' || c == u'\u05F4'; }
bool IsDash(char16_t c) { return c == u'-' || c == u'\u2013' || c == u'\u2014' || c == u'\u05BE'; }
bool IsSeparator(char16_t c) { return c == u':' || c == u'.' || c == u','; }
char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }
bool IsLatinLetter(char16_t c) { return Lower(c) >= u'a' && Lower(c) <= u'z'; }

// The Hebrew geresh is read as an apostrophe, so both spellings of a short form match.
char16_t Fold(char16_t c) { return c == u'\u05F3' ? u'\'' : Lower(c); }

struct Scanner {
  std::u16string_view text;
  size_t at = 0;

  bool AtEnd() const { return at >= text.size(); }
  char16_t Peek() const { return AtEnd() ? u'\0' : text[at]; }
  // Skips blanks; answers whether there were any.
  bool SkipSpaces() {
    const size_t from = at;
    while (!AtEnd() && IsSpace(text[at])) ++at;
    return at > from;
  }
};

// The longest book name at the scanner, with a sensible end: a name ending in an
// apostrophe may be followed by anything; a Hebrew name by a blank, a digit or the end; an
// English one by those, or a '.' (which is taken along).
int ReadBook(Scanner* s) {
  int best = -1;
  size_t bestLength = 0;
  for (const BookForm& form : kBookForms) {
    const std::u16string_view name(form.text);
    if (name.size() <= bestLength || s->text.size() - s->at < name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) same = Fold(s->text[s->at + i]) == name[i];
    if (!same) continue;
    const size_t end = s->at + name.size();
    const char16_t next = end < s->text.size() ? s->text[end] : u'\0';
    const bool ends = name.back() == u'\'' || next == u'\0' || IsSpace(next) || IsDigit(next) ||
                      (form.english && next == u'.');
    if (!ends) continue;
    best = form.book;
    bestLength = name.size();
  }
  if (best < 0) return -1;
  s->at += bestLength;
  if (s->Peek() == u'.' && IsLatinLetter(s->text[s->at - 1])) ++s->at;
  return best;
}

// The word at the scanner, for a message: up to a blank (or a digit, after a book's name).
std::u16string WordAt(const Scanner& s, bool stopAtDigit = false) {
  size_t end = s.at;
  while (end < s.text.size() && !IsSpace(s.text[end]) && !(stopAtDigit && IsDigit(s.text[end]))) ++end;
  return std::u16string(s.text.substr(s.at, end - s.at));
}

// A number of digits or a Hebrew numeral. False when none starts here; value is -1 when
// one was written but reads as no number. written gets the text as it stands.
bool ReadNumber(Scanner* s, int* value, std::u16string* written) {
  const size_t from = s->at;
  if (IsDigit(s->Peek())) {
    while (IsDigit(s->Peek())) ++s->at;
    *written = std::u16string(s->text.substr(from, s->at - from));
    *value = 0;
    if (written->size() > 4) {
      *value = 10000;  // far beyond any chapter or verse
      return true;
    }
    for (char16_t c : *written) *value = *value * 10 + (c - u'0');
    // Letters glued to the digits make no number.
    if (IsUnicodeHebrewLetter(s->Peek()) || IsLatinLetter(s->Peek())) {
      while (!s->AtEnd() && !IsSpace(s->Peek()) && !IsSeparator(s->Peek()) && !IsDash(s->Peek())) ++s->at;
      *written = std::u16string(s->text.substr(from, s->at - from));
      *value = -1;
    }
    return true;
  }
  if (!IsUnicodeHebrewLetter(s->Peek())) return false;
  while (IsUnicodeHebrewLetter(s->Peek()) || IsGeresh(s->Peek())) ++s->at;
  *written = std::u16string(s->text.substr(from, s->at - from));
  *value = HebrewNumeralValue(*written);
  if (*value == 0) *value = -1;
  return true;
}

struct Point {
  int first = 0, second = 0;  // -1: written but unreadable
  bool hasSecond = false;     // false: only one number
  std::u16string firstText, secondText;
};

// "number [sep number]", where sep is ':', '.' or ',' (with blanks around it allowed) or
// blanks alone. A failure leaves *error and the part set.
bool ReadPoint(Scanner* s, Point* point, ReferenceResult* result, bool afterDash) {
  if (!ReadNumber(s, &point->first, &point->firstText)) {
    result->error = afterDash ? ReferenceError::kBadVerse : ReferenceError::kBadChapter;
    result->part = WordAt(*s);
    return false;
  }
  if (point->first < 0) {
    result->error = afterDash ? ReferenceError::kBadVerse : ReferenceError::kBadChapter;
    result->part = point->firstText;
    return false;
  }
  const size_t before = s->at;
  s->SkipSpaces();
  bool separated = false;
  if (IsSeparator(s->Peek())) {
    ++s->at;
    s->SkipSpaces();
    separated = true;
  }
  if (!ReadNumber(s, &point->second, &point->secondText)) {
    if (separated) {
      result->error = ReferenceError::kBadVerse;
      result->part = WordAt(*s);
      return false;
    }
    s->at = before;
    return true;
  }
  point->hasSecond = true;
  if (point->second < 0) {
    result->error = ReferenceError::kBadVerse;
    result->part = point->secondText;
    return false;
  }
  return true;
}

// Checks that chapter and verse exist; sets the error otherwise.
bool CheckVerse(const VerseMap& map, int book, int chapter, const std::u16string& chapterText, int verse,
                const std::u16string& verseText, ReferenceResult* result) {
  if (chapter < 1 || chapter > LastChapter(map, book)) {
    result->error = ReferenceError::kNoSuchChapter;
    result->part = chapterText;
    return false;
  }
  if (verse < 1 || verse > LastVerse(map, book, chapter)) {
    result->error = ReferenceError::kNoSuchVerse;
    result->part = verseText;
    result->chapter = chapter;
    return false;
  }
  return true;
}

// A message of the reference parser in the interface's language.
std::u16string Tr(const char16_t* text) { return platform::TranslateText("Dialog", text); }

std::u16string Arg(std::u16string_view pattern, std::initializer_list<std::u16string> args) {
  std::u16string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
        size_t(pattern[i + 1] - u'1') < args.size()) {
      out += *(args.begin() + (pattern[i + 1] - u'1'));
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::u16string Decimal(int value) {
  std::u16string out;
  do {
    out.insert(out.begin(), char16_t(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  return out;
}

}  // namespace

ReferenceResult ParseReference(std::u16string_view text, const VerseMap& map) {
  ReferenceResult result{ReferenceError::kNone, {}, {}, -1, 0};
  Scanner s{text};
  s.SkipSpaces();
  if (s.AtEnd()) {
    result.error = ReferenceError::kEmpty;
    return result;
  }
  const int book = ReadBook(&s);
  if (book < 0) {
    result.error = ReferenceError::kNoBook;
    result.part = WordAt(s, true);
    return result;
  }
  result.book = book;
  s.SkipSpaces();
  Point start;
  if (!ReadPoint(&s, &start, &result, false)) return result;
  const int firstVerse = start.hasSecond ? start.second : 1;
  if (!CheckVerse(map, book, start.first, start.firstText, firstVerse, start.secondText, &result)) return result;
  VerseKey first{uint8_t(book), uint8_t(start.first), uint8_t(firstVerse)};
  VerseKey last{uint8_t(book), uint8_t(start.first), uint8_t(start.hasSecond ? start.second : LastVerse(map, book, start.first))};
  s.SkipSpaces();
  if (IsDash(s.Peek())) {
    ++s.at;
    s.SkipSpaces();
    Point end;
    if (!ReadPoint(&s, &end, &result, start.hasSecond)) return result;
    int chapter = end.first, verse = end.second;
    std::u16string chapterText = end.firstText, verseText = end.secondText;
    if (start.hasSecond && !end.hasSecond) {  // "1:3-5": a verse of the same chapter
      chapter = start.first;
      chapterText = start.firstText;
      verse = end.first;
      verseText = end.firstText;
    } else if (!end.hasSecond) {  // "1-2": whole chapters
      verse = chapter >= 1 && chapter <= LastChapter(map, book) ? LastVerse(map, book, chapter) : 1;
    }
    if (!CheckVerse(map, book, chapter, chapterText, verse, verseText, &result)) return result;
    last = VerseKey{uint8_t(book), uint8_t(chapter), uint8_t(verse)};
    if (VerseBefore(last, first)) {
      result.error = ReferenceError::kBackwards;
      result.part = std::u16string(text.substr(0, s.at));
      while (!result.part.empty() && IsSpace(result.part.front())) result.part.erase(0, 1);
      return result;
    }
  }
  s.SkipSpaces();
  if (!s.AtEnd()) {
    result.error = ReferenceError::kTrailing;
    result.part = std::u16string(text.substr(s.at));
    while (!result.part.empty() && IsSpace(result.part.back())) result.part.pop_back();
    return result;
  }
  result.range = VerseRange{first, last};
  return result;
}

ReferenceResult ParseTypedReference(std::u16string_view typed, const VerseMap& map) {
  std::u16string text;
  for (size_t i = 0; i < typed.size();) {
    const bool pair = i + 1 < typed.size() && typed[i] >= 0xD800 && typed[i] < 0xDC00 && typed[i + 1] >= 0xDC00 &&
                      typed[i + 1] < 0xE000;
    const std::u16string_view unit = typed.substr(i, pair ? 2 : 1);
    i += unit.size();
    const char16_t c = unit[0];
    // Small Latin letters spell English names; the search input refuses them (their bytes
    // are the letters' in the book), so they are taken as they are. The same for the dashes
    // and typographic quotes people write in references.
    if ((c >= u'a' && c <= u'z') || c == u'\u2013' || c == u'\u2014') {
      text += c;
      continue;
    }
    if (c == u'\u2018' || c == u'\u2019') {
      text += u'\'';
      continue;
    }
    if (c == u'\u201C' || c == u'\u201D') {
      text += u'"';
      continue;
    }
    std::u16string normal;
    char32_t refused = 0;
    if (!NormaliseTypedText(unit, &normal, &refused)) {
      ReferenceResult result{ReferenceError::kBadCharacter, {}, std::u16string(unit), -1, 0};
      return result;
    }
    text += normal;
  }
  return ParseReference(text, map);
}

std::u16string ReferenceErrorMessage(const ReferenceResult& result, const VerseMap& map) {
  const std::u16string bookName = TorahBookName(result.book) ? TorahBookName(result.book) : u"";
  switch (result.error) {
    case ReferenceError::kNone: return {};
    case ReferenceError::kEmpty:
      return Tr(SOLMAR_TEXT("Dialog", "Type a reference: a book, a chapter and a verse, such as Genesis 1:3."));
    case ReferenceError::kNoBook:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "\"%1\" is not one of the five books: write Genesis, Exodus, Leviticus, "
                                          "Numbers or Deuteronomy, in Hebrew or in English.")),
                 {result.part});
    case ReferenceError::kBadChapter:
      if (result.part.empty()) return Tr(SOLMAR_TEXT("Dialog", "The chapter number is missing."));
      return Arg(Tr(SOLMAR_TEXT("Dialog", "\"%1\" is not a chapter number.")), {result.part});
    case ReferenceError::kBadVerse:
      if (result.part.empty()) return Tr(SOLMAR_TEXT("Dialog", "The verse number is missing."));
      return Arg(Tr(SOLMAR_TEXT("Dialog", "\"%1\" is not a verse number.")), {result.part});
    case ReferenceError::kNoSuchChapter:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "%1 has no chapter %2: it has %3 chapters.")),
                 {bookName, result.part, Decimal(LastChapter(map, result.book))});
    case ReferenceError::kNoSuchVerse:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "Chapter %1 of %2 has no verse %3: it has %4 verses.")),
                 {HebrewNumeral(result.chapter), bookName, result.part,
                  Decimal(LastVerse(map, result.book, result.chapter))});
    case ReferenceError::kBackwards:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "The range \"%1\" runs backwards: its end comes before its start.")), {result.part});
    case ReferenceError::kTrailing:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "\"%1\" after the reference is not understood.")), {result.part});
    case ReferenceError::kBadCharacter:
      return Arg(Tr(SOLMAR_TEXT("Dialog", "A reference cannot hold \"%1\".")), {result.part});
  }
  return {};
}

std::u16string FormatReference(const VerseRange& range) {
  const char16_t* firstBook = TorahBookName(range.first.book);
  std::u16string out = firstBook ? firstBook : u"";
  out += u' ';
  out += HebrewNumeral(range.first.chapter) + u":" + HebrewNumeral(range.first.verse);
  if (range.last == range.first) return out;
  out += u'-';
  if (range.last.book != range.first.book) {
    const char16_t* lastBook = TorahBookName(range.last.book);
    out += std::u16string(lastBook ? lastBook : u"") + u" ";
  }
  if (range.last.book != range.first.book || range.last.chapter != range.first.chapter)
    out += HebrewNumeral(range.last.chapter) + u":";
  out += HebrewNumeral(range.last.verse);
  return out;
}

bool WriteVerses(const VerseMap& map, const VerseRange& range, std::u16string* out) {
  const auto from = std::lower_bound(map.verses.begin(), map.verses.end(), range.first,
                                     [](const VersePlace& place, const VerseKey& k) { return VerseBefore(place.key, k); });
  uint16_t loaded = 0;
  std::vector<uint8_t> data;
  for (auto it = from; it != map.verses.end() && !VerseBefore(range.last, it->key); ++it) {
    if (it->article != loaded) {
      uint32_t length = 0;
      uint8_t* bytes = LoadArticle(it->article, nullptr, &length);
      if (!bytes) return false;
      data.assign(bytes, bytes + length + 1);
      platform::Free(bytes);
      loaded = it->article;
    }
    *out += VerseReadingText(data.data(), uint32_t(data.size()), *it);
    *out += u'\n';
  }
  *out += u"(" + FormatReference(range) + u")\n";
  return true;
}
