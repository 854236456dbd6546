// The letter code and its conversions to and from UTF-16 display text.
//
// Article text is stored one byte per character: 0x61..0x7B are the 27 Hebrew letters
// (alef..tav with the final forms, in Unicode order), 0x7E is a literal '{', 0 ends a
// text, and every other byte stands for itself. Display text has one UTF-16 unit per
// byte, so offsets in display text equal offsets in the stored text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

constexpr uint8_t kLetterFirst = 0x61;
constexpr int kLetterCount = 27;
constexpr uint8_t kLiteralBrace = 0x7E;
// The letter base of Unicode fonts: the letters land on U+05D0..U+05EA.
constexpr int32_t kUnicodeLetterBase = 1488;

// Whether c is one of the 27 Unicode Hebrew letters (U+05D0..U+05EA, finals included).
constexpr bool IsUnicodeHebrewLetter(char16_t c) {
  return c >= kUnicodeLetterBase && c < kUnicodeLetterBase + kLetterCount;
}

// The words of text, split at spaces (runs of spaces make no empty words). The views point
// into text.
std::vector<std::u16string_view> SplitAtSpaces(std::u16string_view text);

// The search string: 33 letter-code characters and the 0.
constexpr int kSearchStringSize = 34;

// The one growing UTF-16 buffer every drawing and measuring conversion reuses.
struct ConversionBuffer {
  char16_t* block;    // none at start
  uint32_t capacity;  // characters, not counting the terminator
};

extern ConversionBuffer gConversionBuffer;

// Releases the shared buffer and zeroes it.
void ResetConversionBuffer();

// Display unit of one letter-code byte for a letter base.
char16_t LetterToDisplayUnit(uint8_t byte, int32_t fontAsciiBase);

// Converts up to length bytes of text (stopping at its 0) into 0-terminated display text
// for the letter base fontAsciiBase, turned around when reverse is set (the reader's
// Reverse option) and the base is not 97. With buffer the result lives in it until the
// next conversion; without it the result is a new heap block the caller frees. None when
// memory runs out.
char16_t* ToDisplayText(const uint8_t* text, uint32_t length, ConversionBuffer* buffer, int32_t fontAsciiBase,
                        bool reverse);

// Reverses count units in place, mirroring (), [] and {}. 0, or 1 when its temporary block
// cannot be allocated (the text is then unchanged).
int ReverseDisplayText(char16_t* text, uint32_t count);
// The display unit c as it reads in text turned around: (), [] and {} swap, all else stays.
char16_t MirrorBracket(char16_t c);
// The same for one letter-code byte: (), [] and the stored brace 0x7E with '}' swap;
// letters and every other byte stay.
uint8_t MirrorLetterCodeBracket(uint8_t byte);

// Writes the 0-terminated UTF-16 input into searchString (at least kSearchStringSize
// bytes) in the letter code of the letter base fontAsciiBase; runs of spaces become one
// space. Input longer than 33 units is cut at 33 so the buffer never overflows.
void ToLetterCode(const char16_t* input, uint8_t* searchString, int32_t fontAsciiBase);
