// Text as people type or paste it, turned into what the book's letter code can hold.
//
// Every way text enters a search (typed, pasted, tapped, the command line) goes through
// NormaliseTypedText before any length limit, so a pointed word pasted from another
// edition, a real maqaf or a stray bidi mark find what the plain text holds.
#pragma once

#include <string>
#include <string_view>

// Normalises text as people type or paste it (UTF-16, reading order) to what the book
// can hold: Hebrew letters (U+05D0..U+05EA), printable ASCII other than the small Latin
// letters and '~' (their bytes are the letters' and the stored '{'), and U+00A1..U+00FF.
// On the way:
// - points and accents (U+0591..U+05C7 but the marks below) and format characters (bidi
//   marks, embeddings, overrides and isolates, zero-width characters, the word joiner, the
//   byte-order mark, the soft hyphen, the combining grapheme joiner) are dropped;
// - maqaf becomes '-', sof pasuq ':', paseq '|', gershayim '"', geresh '\'';
// - no-break and other fixed-width spaces, tab and line ends become a space;
// - Hebrew presentation forms (U+FB1D..U+FB4F) and the Yiddish ligatures U+05F0..U+05F2
//   become their letters.
// Nothing is substituted silently: any other character is refused. Returns false when a
// character cannot be held; *refused then receives it (a whole code point, also for a
// surrogate pair) and *out is left as it was. On success *out receives the text, in
// reading order, and *refused is not touched.
bool NormaliseTypedText(std::u16string_view text, std::u16string* out, char32_t* refused);

// The character typed on the same key of the standard Israeli layout, for a character
// typed while the keyboard is in its Latin (US) layout: t -> alef, c -> bet, ... n -> mem,
// ';' -> final pe, '.' -> final tsadi, ',' -> tav, '/' -> '.', '\'' -> ',', 'q' -> '/',
// 'w' -> '\''. Every other character (capitals and digits among them: the Israeli layout
// keeps them) is answered unchanged.
char16_t HebrewOnLatinKey(char16_t typed);
