// References to verses as people write them, read against the verse map, and written back
// in the book's own style.
//
// A reference is a book, then a chapter and a verse, then optionally a dash and the end of
// a range: "בראשית א:ג", "בר' א ג-ה", "Exod 25:8-9", "בראשית א:לא-ב:ג", "Gen 1". Books go
// by their Hebrew names, their short forms (בר' שמ' ויק' במ' דב', with ' or ׳) or English
// names and abbreviations in any case; numbers are digits or Hebrew numerals (with or
// without geresh and gershayim); chapter and verse are parted by a space, ':', '.' or ',';
// the range's dash is '-', '–' or maqaf. A chapter without a verse means the whole chapter.
// The text is expected already normalised (points and bidi marks dropped).
#pragma once

#include <string>
#include <string_view>

#include "content/verse_map.h"

enum class ReferenceError {
  kNone,
  kEmpty,
  kNoBook,          // the book's name is none of the five
  kBadChapter,      // no chapter number where one belongs
  kBadVerse,        // no verse number where one belongs
  kNoSuchChapter,   // the book has no chapter of that number
  kNoSuchVerse,     // the chapter has no verse of that number
  kBackwards,       // the range ends before it starts
  kTrailing,        // something follows the reference
  kBadCharacter,    // a character no reference holds (ParseTypedReference)
};

struct VerseRange {
  VerseKey first;
  VerseKey last;
};

struct ReferenceResult {
  ReferenceError error;
  VerseRange range;     // the verses, when error is kNone
  std::u16string part;  // the wrong part as it was written
  int book;             // the book named, once known (-1 before)
  int chapter;          // for kNoSuchVerse: the chapter that lacks it
};

// Reads text as a reference to verses in map.
ReferenceResult ParseReference(std::u16string_view text, const VerseMap& map);
// The same for text as people type or paste it: points, accents and bidi marks dropped,
// Hebrew punctuation mapped (maqaf, geresh, gershayim), dashes made '-', as the search
// input is normalised; Latin letters keep their case. A character that cannot be
// normalised is refused with kBadCharacter.
ReferenceResult ParseTypedReference(std::u16string_view typed, const VerseMap& map);

// The user's message for a refused reference, saying which part is wrong; empty for kNone.
std::u16string ReferenceErrorMessage(const ReferenceResult& result, const VerseMap& map);

// "בראשית א:ג", "בראשית א:ג-ה", "בראשית א:לא-ב:ג" (a range over books names both).
std::u16string FormatReference(const VerseRange& range);

// The verses of range as `solmar --verses` prints them: one line a verse as the page reads
// it (its number, a space, its text), then the reference in parentheses; lines end with
// "\n". False when a page cannot be loaded (out holds the lines made before it).
bool WriteVerses(const VerseMap& map, const VerseRange& range, std::u16string* out);
