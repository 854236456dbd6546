// Where every verse of the five books stands in the book: read from the pages themselves
// (each page's title names its book, a "פרק" heading starts a chapter, a verse paragraph
// is led by its number), once, when first asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kTorahBookCount = 5;

// The book's name as the pages write it (בראשית ... דברים); none outside 0..4.
const char16_t* TorahBookName(int book);

// A verse: book 0..4, chapter and verse from 1.
struct VerseKey {
  uint8_t book;
  uint8_t chapter;
  uint8_t verse;
};
inline bool operator==(const VerseKey& a, const VerseKey& b) {
  return a.book == b.book && a.chapter == b.chapter && a.verse == b.verse;
}
inline bool VerseBefore(const VerseKey& a, const VerseKey& b) {
  if (a.book != b.book) return a.book < b.book;
  if (a.chapter != b.chapter) return a.chapter < b.chapter;
  return a.verse < b.verse;
}

// A verse and the records that hold it on its page: the paragraph its number leads and the
// continuation paragraphs after it (with a closed section's rule that stands inside it).
struct VersePlace {
  VerseKey key;
  uint16_t article;      // the page's article (odd)
  uint16_t firstRecord;  // offset of the flags byte of the verse's first record
  uint16_t endRecord;    // offset just past the 0 that ends its last record
};

// Every verse of the book in order.
struct VerseMap {
  std::vector<VersePlace> verses;
};

// The verse each record of an article belongs to, in record order: a main-text page gives
// it by the number leading the verse's paragraph under the last chapter heading (before the
// first heading, the chapter the title's range starts with); a commentary page by the
// "chapter:verse" its verse headings carry. A continuation paragraph (stored text starting
// with a space) belongs to the verse before it. Records before the first verse, headings
// and rules have verse 0 (and chapter 0 for the title and subtitle).
struct RecordVerseKey {
  uint16_t recordOffset;
  uint16_t recordEnd;  // just past its 0
  VerseKey key;
};
std::vector<RecordVerseKey> ArticleRecordVerses(const uint8_t* article, uint32_t length);

// The verse map of the article data given for each main-text page (articles 1, 3, ... 285),
// as BuildVerseMap makes it from the book. Pages that cannot be loaded are passed over.
void AddPageToVerseMap(VerseMap* map, uint16_t article, const uint8_t* data, uint32_t length);

// The map of the whole book, made on first use from the book's pages and kept for the
// process; empty when no page could be read.
const VerseMap& BookVerseMap();
// Forgets the kept map (tests switch books).
void ResetBookVerseMap();

// The place of a verse; none when the book has no such verse.
const VersePlace* FindVerse(const VerseMap& map, const VerseKey& key);
// The largest chapter of a book, and the largest verse of a chapter: 0 when there is none.
int LastChapter(const VerseMap& map, int book);
int LastVerse(const VerseMap& map, int book, int chapter);

// The record text of the verse's records in reading order, as the page reads: the number,
// a space, its words; continuation paragraphs follow after one space. Hebrew letters as
// Unicode. Empty when the records do not lie inside the data.
std::u16string VerseReadingText(const uint8_t* article, uint32_t length, const VersePlace& place);

// A record's text in reading order with Hebrew letters as Unicode.
std::u16string RecordReadingText(const uint8_t* text, uint32_t length, uint8_t flags);

// A number as the book writes it: Hebrew letters, 15 and 16 as טו and טז, no geresh.
// Empty for numbers below 1 or above 999.
std::u16string HebrewNumeral(int value);
// The value of Hebrew letters written as a numeral (the final forms count as their
// letters), ignoring geresh and gershayim (ASCII or Hebrew); 0 when text is no numeral:
// empty, another character, or letters not in falling order of value (so "טו" and "יה"
// both give 15, but "הי" gives 0).
int HebrewNumeralValue(std::u16string_view text);
