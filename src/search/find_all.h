// Every hit of a pattern in the whole book at once: what `solmar --find` lists, and what a
// list of all results can show. No window and no settings are involved.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "content/letter_code.h"  // patterns and listed texts use kUnicodeLetterBase (U+05D0)

enum class PatternError {
  kNone,
  kEmpty,           // nothing left to look for (stars and marks alone count as nothing)
  kTooLong,         // more than 33 characters once normalised
  kNotInLetterCode  // a character the book cannot hold
};

// Turns a pattern in reading order, as typed, pasted or given on the command line, into
// the stored order the search looks for: normalised by NormaliseTypedText (points, accents
// and format characters dropped, Hebrew marks mapped), runs of spaces made one, "*"s at
// either end dropped, then turned round as the book stores right-to-left text (brackets
// mirrored, runs of digits and Latin capitals kept in their order) in the letter code with
// the Unicode letters. searchString has kSearchStringSize bytes and is written only when
// the answer is kNone. For kNotInLetterCode the character at fault goes to *refused.
PatternError StoredPatternFromReadingOrder(std::u16string_view readingOrder, uint8_t* searchString,
                                           char32_t* refused = nullptr);

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
// order: the first match from the text's last byte down, then each next one from just below
// the start of the one before (so none overlaps the one before it, as with Search Again),
// until none is left. Answers how many were visited.
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
