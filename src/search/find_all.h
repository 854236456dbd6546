// Every hit of a pattern in the whole book at once: what `solmar --find` lists, and what a
// list of all results can show. No window and no settings are involved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "content/letter_code.h"  // patterns and listed texts use kUnicodeLetterBase (U+05D0)

enum class PatternError {
  kNone,
  kEmpty,
  kTooLong,        // more than 33 UTF-16 units
  kNotInLetterCode // a character the letter code cannot carry (Latin small letters too:
                   // their bytes are the Hebrew letters')
};

// Turns a pattern typed in reading order (Hebrew letters, "*", "?", spaces, digits,
// punctuation) into the stored order the search dialog produces: reversed, then converted
// to the letter code with the Unicode letter base (runs of spaces become one). searchString
// has kSearchStringSize bytes; it is written only when the answer is kNone. Which unit is
// at fault, for kNotInLetterCode, is stored in *badUnit when given.
PatternError StoredPatternFromReadingOrder(const char16_t* readingOrder, uint8_t* searchString,
                                           char16_t* badUnit = nullptr);

struct BookHit {
  uint16_t article;
  uint16_t endOffset;          // stored offset of the match's highest byte
  uint16_t length;             // bytes
  std::u16string readingText;  // the matched bytes as Unicode Hebrew, in reading order
};

using BookHitVisitor = std::function<void(const BookHit&)>;

struct ParagraphRecord;

// Every match in one article's data (length bytes that may be read), in FindAllInArticle's
// order, without making its text: the record it lies in, its end offset and its length.
// Answers how many were visited.
using ArticleMatchVisitor = std::function<void(const ParagraphRecord& record, uint16_t endOffset, uint16_t length)>;
long ForEachMatchInArticle(const uint8_t* article, uint32_t length, const uint8_t* pattern,
                           const ArticleMatchVisitor& visit);

// Every hit in one article's data (length bytes that may be read), record by record in
// order: the first match from the text's last byte down, then each next one from one below
// the end of the one before, until none is left. Answers how many were visited.
long FindAllInArticle(const uint8_t* article, uint32_t length, uint16_t articleNumber, const uint8_t* pattern,
                      const BookHitVisitor& visit);

struct BookSearchCount {
  long hits;
  int unreadableArticles;  // articles 1..286 that could not be loaded (passed over)
};

// FindAllInArticle over articles 1..286 in order, each decompressed, searched and freed in
// turn.
BookSearchCount FindAllInBook(const uint8_t* pattern, const BookHitVisitor& visit);

// Articles 1..286 in order, each decompressed, handed to visit (its bytes and the 0 after
// them) and freed. Answers how many could not be loaded (they are passed over).
using BookArticleVisitor = std::function<void(uint16_t article, const uint8_t* data, uint32_t length)>;
int ForEachBookArticle(const BookArticleVisitor& visit);

// The reading order of stored bytes offset..offset + count - 1 of a record's text (text,
// textLength bytes): for a right-to-left record the stored order reversed, brackets
// mirrored, with runs of digits and Latin capitals (joined by single ".", "," or ":") read
// left to right as the book stores them; for any other record the stored order.
std::u16string ReadingOrderText(const uint8_t* text, uint32_t textLength, uint8_t flags, uint32_t offset,
                                uint32_t count);
