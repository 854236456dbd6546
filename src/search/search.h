// Wildcard search in the letter code: the matcher, the search of one article, and Search
// Again across the book with the hit shown in its pane.
//
// Matching works on stored byte order, from higher to lower positions, so a right-to-left
// paragraph (stored reversed) is searched forward in reading order; the pattern is stored
// the same way. "*" stands for any run of bytes (the shortest), "?" for any one byte,
// wherever they stand; "*"s at either end of the pattern are passed over, so they neither
// stop a match nor lengthen it. A plain kaf, mem, nun, pe or tsadi of the pattern also
// matches its final form (someone typing the start of a word means both); a final form
// matches only itself. A match is told by the offset of its highest byte (0 = none:
// offsets 0 and 1 hold the first record's flags and parameter) and its length.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr uint8_t kWildcardRun = '*';
constexpr uint8_t kWildcardAny = '?';
// Bytes of pattern the matcher takes: the search string's 33 characters.
constexpr int kMaxPatternLength = 33;
// Start offset beyond the end of every article: nothing of it is searched.
constexpr uint16_t kStartPastEnd = 0xFFFF;

// Scans down from `from` to textBegin for the match of the 0-terminated pattern whose last
// byte is highest, and answers that byte's position (none when there is no match). Reads
// only bytes from textBegin to from. A "*" takes the shortest run that lets the part of
// the pattern before it match below; when that part matches nowhere the whole call answers
// none, without trying lower positions. A pattern longer than kMaxPatternLength bytes
// matches nothing (so the recursion, one level per "*", stays bounded). matchLength, when
// given, receives the length of the match.
const uint8_t* MatchPattern(const uint8_t* textBegin, const uint8_t* pattern, const uint8_t* from,
                            uint16_t* matchLength);

// One record of an article: the list SearchArticle builds in record order and frees again.
struct ParagraphSpan {
  ParagraphSpan* next;       // none at the end
  const uint8_t* record;     // the record's flags byte; its text starts 2 bytes later
  const uint8_t* textEnd;    // the 0 that ends the record's text
};

// The records of article (every kind, spacing records too), walked while the flags byte is
// not 0; a record whose text has no 0 before article + length ends the walk, so no node
// points outside the data. Nodes come from AllocOrAbort. *list receives the first node
// (none for an empty article). False when memory ran out: the user was told, the settings
// saved and the program asked to end; *list is none and nothing is left allocated.
bool BuildParagraphSpans(const uint8_t* article, uint32_t length, ParagraphSpan** list);
void FreeParagraphSpans(ParagraphSpan* list);

// Searches the article (length bytes that may be read; for LoadArticle's buffer its
// decompressed length + 1) for pattern, starting at offset start: the record that holds
// or follows start is searched down from start, every later record whole, down from its
// last byte. A match never spans two records. Answers the end offset of the first match
// and stores its length in *matchLength; 0 (and length 0) when none. Only the first 65536
// bytes are looked at, so every offset fits 16 bits. outOfMemory, when given, is set when
// the record list could not be built (the program is then ending; the search answers 0).
uint16_t SearchArticle(const uint8_t* article, uint32_t length, uint16_t start, const uint8_t* pattern,
                       uint16_t* matchLength, bool* outOfMemory = nullptr);

// Where Search Again continues in the active pane: just below the highlight when it ends
// on the top line, else at the top line's highest stored byte (or, once the pane stands at
// its last top row, past the end of the article).
uint16_t SearchStartOffset();

// Finds the next occurrence of the search string after the active pane's position, in the
// rest of its article, then in the following articles (after 286 comes 1; commentaries
// are skipped while the lower pane is hidden), and finally in the start article again from
// its beginning, and shows it scrolled to and highlighted. 1 when a hit was shown; 0 when
// the search string is empty (nothing happens) or nothing was found (the "Not Found!" box,
// owned by owner, and nothing changes).
int SearchAgain(platform::Window* owner);

// Makes the pane of the current article active after a hit: main text (odd) above,
// commentary (even) below. sameArticle: the hit is in the article startArticle the search
// began in. When the page changed, the other pane is loaded to match (commentary below, or
// the main text above).
void SelectPaneForArticle(platform::Window* owner, int startArticle, bool sameArticle);

// Shows the hit that ends at stored offset end (length bytes) of article exactly as Search
// Again shows the one it finds: the article becomes current in its pane (main text above,
// commentary below, the other pane following when the page changed), that pane becomes
// active, scrolls to the hit and highlights it, and the title banner shows. 1 when shown;
// 0, with nothing changed, when the article cannot be loaded, a pane would refuse it, or
// the offset lies outside it.
int ShowHitInArticle(platform::Window* owner, int article, uint16_t end, uint16_t length);
