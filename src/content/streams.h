// Walking the two stream formats in place.
//
// ParagraphStream record: flags (1), param (1), letter-code text ended by 0; a flags byte
// of 0 ends the stream. IndexStream record: key (2, little-endian), flags (1), param (1),
// text ended by 0; a flags byte of 0 ends the stream.
// The walkers take an end pointer as well, so a stream without its terminator is never
// read past its buffer: a record that does not fit ends the walk.
#pragma once

#include <cstdint>

// ParagraphFlags
constexpr uint8_t kParaRuleMask = 0x07;        // all three set: rule record
constexpr uint8_t kParaStyleBit = 0x01;
constexpr uint8_t kParaSmaller = 0x02;
constexpr uint8_t kParaLarger = 0x04;
constexpr uint8_t kParaBold = 0x08;
constexpr uint8_t kParaRightToLeft = 0x10;
constexpr uint8_t kParaAlignMask = 0x60;
constexpr uint8_t kParaAlignRight = 0x20;
constexpr uint8_t kParaAlignCentre = 0x40;
constexpr uint8_t kParaExtraRow = 0x80;
constexpr uint8_t kParaStyleKeyMask = 0x1F;
constexpr uint8_t kTitleFlags = 0xDC;
constexpr uint8_t kSubtitleFlags = 0xD1;

// IndexStream
constexpr uint16_t kIndexArticleMask = 0x3FFF;
constexpr uint16_t kIndexEntry = 0x4000;
constexpr uint16_t kIndexHeading = 0x8000;
constexpr uint8_t kIndexVisible = 0x80;
constexpr uint8_t kIndexUnfolded = 0x40;

inline bool IsRuleRecord(uint8_t flags) { return (flags & kParaRuleMask) == kParaRuleMask; }

struct ParagraphRecord {
  uint32_t offset;       // of the flags byte from the stream start
  uint8_t flags;
  uint8_t param;
  const uint8_t* text;   // letter code, 0-terminated
  uint32_t length;       // characters before the 0
};

struct IndexRecord {
  uint32_t offset;
  uint16_t key;
  uint8_t flags;
  uint8_t param;
  const uint8_t* text;
  uint32_t length;
};

// Reads the record at *offset and moves *offset past it. False at the end of the stream
// (a 0 flags byte) or when the record would not fit before end.
bool NextParagraph(const uint8_t* stream, const uint8_t* end, uint32_t* offset, ParagraphRecord* record);
bool NextIndexRecord(const uint8_t* stream, const uint8_t* end, uint32_t* offset, IndexRecord* record);

// The title convention: a first record with flags exactly 0xDC is the title; the record
// after it (or the first, without a title) is the subtitle when its flags are exactly 0xD1.
struct TitleRecords {
  const ParagraphRecord* title;     // points into the struct below, or none
  const ParagraphRecord* subtitle;
  ParagraphRecord titleRecord;
  ParagraphRecord subtitleRecord;
};
void FindTitles(const uint8_t* stream, const uint8_t* end, TitleRecords* titles);
