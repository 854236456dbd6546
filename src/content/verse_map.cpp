// The verse map: the book's pages read once for their books, chapters and verse numbers.
#include "content/verse_map.h"

#include <algorithm>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "platform/platform.h"

namespace {

constexpr const char16_t* kBookNames[kTorahBookCount] = {
    u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA",  // בראשית
    u"\u05E9\u05DE\u05D5\u05EA",              // שמות
    u"\u05D5\u05D9\u05E7\u05E8\u05D0",        // ויקרא
    u"\u05D1\u05DE\u05D3\u05D1\u05E8",        // במדבר
    u"\u05D3\u05D1\u05E8\u05D9\u05DD",        // דברים
};
constexpr char16_t kChapterWord[] = u"\u05E4\u05E8\u05E7";  // פרק

// Letter values from alef to tav, final forms in their Unicode places.
constexpr int kLetterValues[kLetterCount] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 20,  20,  30, 40,
                                             40, 50, 50, 60, 70, 80, 80, 90, 90, 100, 200, 300, 400};

VerseMap gBookVerseMap;
bool gBookVerseMapMade = false;


int BookOfName(std::u16string_view word) {
  for (int book = 0; book < kTorahBookCount; ++book)
    if (word == kBookNames[book]) return book;
  return -1;
}

// "chapter:verse" in letters, as the title and the commentary's verse headings write it.
bool ChapterVerse(std::u16string_view word, int* chapter, int* verse) {
  const size_t colon = word.find(u':');
  if (colon == std::u16string_view::npos) return false;
  const std::u16string_view c = word.substr(0, colon), v = word.substr(colon + 1);
  if (!std::all_of(c.begin(), c.end(), IsUnicodeHebrewLetter) || !std::all_of(v.begin(), v.end(), IsUnicodeHebrewLetter))
    return false;
  *chapter = HebrewNumeralValue(c);
  *verse = HebrewNumeralValue(v);
  return *chapter > 0 && *verse > 0;
}

// A verse number leading a paragraph: letters only (the book writes no geresh there).
int LeadNumber(std::u16string_view word) {
  if (word.empty() || word.size() > 3 || !std::all_of(word.begin(), word.end(), IsUnicodeHebrewLetter)) return 0;
  return HebrewNumeralValue(word);
}

uint8_t Small(int value) { return uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

const char16_t* TorahBookName(int book) { return book >= 0 && book < kTorahBookCount ? kBookNames[book] : nullptr; }

std::u16string RecordReadingText(const uint8_t* text, uint32_t length, uint8_t flags) {
  std::vector<uint8_t> bytes(text, text + length);
  if (flags & kParaRightToLeft) SwapVisualOrder(bytes.data(), bytes.size());
  std::u16string out(length, u' ');
  for (uint32_t i = 0; i < length; ++i) out[i] = LetterToDisplayUnit(bytes[i], kUnicodeLetterBase);
  return out;
}

std::vector<RecordVerseKey> ArticleRecordVerses(const uint8_t* article, uint32_t length) {
  std::vector<RecordVerseKey> records;
  if (!article) return records;
  int book = -1, chapter = 0;
  VerseKey current{0, 0, 0};
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(article, article + std::min<uint32_t>(length, 0x10000), &at, &record)) {
    RecordVerseKey entry{uint16_t(record.offset), uint16_t(at), VerseKey{Small(std::max(book, 0)), 0, 0}};
    const std::u16string text = RecordReadingText(record.text, record.length, record.flags);
    const std::vector<std::u16string_view> words = SplitAtSpaces(text);
    if (record.flags == kTitleFlags) {
      // "book chapter:verse - chapter:verse": the page starts in its first chapter.
      if (!words.empty()) book = BookOfName(words[0]);
      int verse = 0;
      for (std::u16string_view word : words)
        if (ChapterVerse(word, &chapter, &verse)) break;
      entry.key.book = Small(std::max(book, 0));
    } else if (record.flags == kSubtitleFlags || IsRuleRecord(record.flags) || book < 0) {
      // No verse.
    } else if (record.length > 0 && record.text[0] == ' ') {
      entry.key = current;
    } else if (words.size() >= 2 && words[0] == kChapterWord) {
      chapter = LeadNumber(words[1]);
      current = VerseKey{Small(book), Small(chapter), 0};
      entry.key = VerseKey{Small(book), Small(chapter), 0};
    } else {
      int c = 0, v = 0;
      if (words.size() >= 2 && ChapterVerse(words[1], &c, &v)) {  // commentary: "number chapter:verse"
        chapter = c;
      } else if (!words.empty()) {
        v = LeadNumber(words[0]);
      }
      current = VerseKey{Small(book), Small(chapter), Small(chapter > 0 ? v : 0)};
      entry.key = current;
    }
    records.push_back(entry);
  }
  return records;
}

void AddPageToVerseMap(VerseMap* map, uint16_t article, const uint8_t* data, uint32_t length) {
  for (const RecordVerseKey& record : ArticleRecordVerses(data, length)) {
    if (record.key.verse == 0) continue;
    VersePlace* last = map->verses.empty() ? nullptr : &map->verses.back();
    // A verse's continuation paragraph, also after a closed section's rule inside the verse.
    if (last && last->article == article && last->key == record.key) {
      last->endRecord = record.recordEnd;
      continue;
    }
    map->verses.push_back(VersePlace{record.key, article, record.recordOffset, record.recordEnd});
  }
}

const VerseMap& BookVerseMap() {
  if (gBookVerseMapMade) return gBookVerseMap;
  gBookVerseMapMade = true;
  for (int article = 1; article <= kArticleCount; article += 2) {
    uint32_t length = 0;
    uint8_t* data = LoadArticle(article, nullptr, &length);
    if (!data) continue;
    AddPageToVerseMap(&gBookVerseMap, uint16_t(article), data, length + 1);
    platform::Free(data);
  }
  // Pages are in the book's order, so the verses are too; a book whose pages broke that
  // order still finds its verses.
  std::stable_sort(gBookVerseMap.verses.begin(), gBookVerseMap.verses.end(),
                   [](const VersePlace& a, const VersePlace& b) { return VerseBefore(a.key, b.key); });
  return gBookVerseMap;
}

void ResetBookVerseMap() {
  gBookVerseMap = VerseMap{};
  gBookVerseMapMade = false;
}

const VersePlace* FindVerse(const VerseMap& map, const VerseKey& key) {
  const auto it = std::lower_bound(map.verses.begin(), map.verses.end(), key,
                                   [](const VersePlace& place, const VerseKey& k) { return VerseBefore(place.key, k); });
  return it != map.verses.end() && it->key == key ? &*it : nullptr;
}

int LastChapter(const VerseMap& map, int book) {
  const auto it = std::lower_bound(map.verses.begin(), map.verses.end(), VerseKey{Small(book + 1), 0, 0},
                                   [](const VersePlace& place, const VerseKey& k) { return VerseBefore(place.key, k); });
  if (it == map.verses.begin() || (it - 1)->key.book != book) return 0;
  return (it - 1)->key.chapter;
}

int LastVerse(const VerseMap& map, int book, int chapter) {
  if (chapter < 0 || chapter > 254) return 0;
  const auto it =
      std::lower_bound(map.verses.begin(), map.verses.end(), VerseKey{Small(book), Small(chapter + 1), 0},
                       [](const VersePlace& place, const VerseKey& k) { return VerseBefore(place.key, k); });
  if (it == map.verses.begin()) return 0;
  const VerseKey& key = (it - 1)->key;
  return key.book == book && key.chapter == chapter ? key.verse : 0;
}

std::u16string VerseReadingText(const uint8_t* article, uint32_t length, const VersePlace& place) {
  std::u16string out;
  if (!article || place.endRecord > length) return out;
  uint32_t at = place.firstRecord;
  ParagraphRecord record;
  while (at < place.endRecord && NextParagraph(article, article + place.endRecord, &at, &record)) {
    if (IsRuleRecord(record.flags)) continue;
    std::u16string text = RecordReadingText(record.text, record.length, record.flags);
    while (!text.empty() && text.back() == u' ') text.pop_back();
    size_t start = 0;
    while (start < text.size() && text[start] == u' ') ++start;
    if (!out.empty()) out += u' ';
    out.append(text, start);
  }
  return out;
}

std::u16string HebrewNumeral(int value) {
  std::u16string out;
  if (value < 1 || value > 999) return out;
  auto letter = [](int index) { return char16_t(kUnicodeLetterBase + index); };
  // Hundreds: as many tav as fit, then qof, resh or shin.
  int rest = value;
  while (rest >= 400) {
    out += letter(26);
    rest -= 400;
  }
  if (rest >= 100) {
    out += letter(22 + rest / 100);  // qof, resh, shin
    rest %= 100;
  }
  if (rest == 15 || rest == 16) {
    out += letter(8);                    // ט
    out += letter(rest == 15 ? 5 : 6);   // ו or ז
    return out;
  }
  // Tens: yod, kaf, lamed, mem, nun, samekh, ayin, pe, tsadi (non-final forms).
  constexpr int kTens[9] = {9, 11, 12, 14, 16, 17, 18, 20, 22};
  if (rest >= 10) out += letter(kTens[rest / 10 - 1]);
  if (rest % 10) out += letter(rest % 10 - 1);
  return out;
}

int HebrewNumeralValue(std::u16string_view text) {
  int value = 0, previous = 1000, letters = 0;
  for (char16_t c : text) {
    if (c == u'\'' || c == u'"' || c == u'\u05F3' || c == u'\u05F4') continue;
    if (!IsUnicodeHebrewLetter(c)) return 0;
    const int letterValue = kLetterValues[c - kUnicodeLetterBase];
    if (letterValue > previous) return 0;
    previous = letterValue;
    value += letterValue;
    ++letters;
  }
  return letters ? value : 0;
}
