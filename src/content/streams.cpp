#include "content/streams.h"

namespace {

// Length of the 0-terminated text at p, or -1 when no 0 comes before end.
int64_t TextLength(const uint8_t* p, const uint8_t* end) {
  for (const uint8_t* q = p; q < end; ++q)
    if (*q == 0) return q - p;
  return -1;
}

}  // namespace

bool NextParagraph(const uint8_t* stream, const uint8_t* end, uint32_t* offset, ParagraphRecord* record) {
  const uint8_t* p = stream + *offset;
  if (p >= end || *p == 0 || end - p < 3) return false;
  const int64_t length = TextLength(p + 2, end);
  if (length < 0) return false;
  *record = ParagraphRecord{*offset, p[0], p[1], p + 2, uint32_t(length)};
  *offset += uint32_t(3 + length);
  return true;
}

bool NextIndexRecord(const uint8_t* stream, const uint8_t* end, uint32_t* offset, IndexRecord* record) {
  const uint8_t* p = stream + *offset;
  if (end - p < 5 || p[2] == 0) return false;
  const int64_t length = TextLength(p + 4, end);
  if (length < 0) return false;
  *record = IndexRecord{*offset, uint16_t(p[0] | p[1] << 8), p[2], p[3], p + 4, uint32_t(length)};
  *offset += uint32_t(5 + length);
  return true;
}

void FindTitles(const uint8_t* stream, const uint8_t* end, TitleRecords* titles) {
  *titles = TitleRecords{};
  uint32_t offset = 0;
  ParagraphRecord record;
  if (!NextParagraph(stream, end, &offset, &record)) return;
  if (record.flags == kTitleFlags) {
    titles->titleRecord = record;
    titles->title = &titles->titleRecord;
    if (!NextParagraph(stream, end, &offset, &record)) return;
  }
  if (record.flags == kSubtitleFlags) {
    titles->subtitleRecord = record;
    titles->subtitle = &titles->subtitleRecord;
  }
}
