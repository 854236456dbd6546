// Copy and Append of a selection: the selected part of each record through the article's
// own text writer, and the reference of the verses it touches.
#include <algorithm>
#include <cstring>

#include "content/streams.h"
#include "content/verse_map.h"
#include "content/verse_reference.h"
#include "content/visual_order.h"
#include "export/export.h"
#include "platform/platform.h"
#include "shell/alloc_or_abort.h"
#include "view/page_view.h"

namespace {

constexpr int32_t kSingleByteBaseMax = 256;

}  // namespace

std::vector<uint8_t> SelectionStream(const PageView* view) {
  std::vector<uint8_t> stream;
  if (!PageViewHasSelection(view) || !view->text) return stream;
  const uint32_t from = view->selectionStart, to = view->selectionEnd;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(view->text, view->text + view->textLength, &at, &record)) {
    const uint32_t start = record.offset + 2, end = start + record.length;
    if (IsRuleRecord(record.flags)) {
      if (start > from && start < to) {
        stream.insert(stream.end(), {record.flags, record.param});
        stream.insert(stream.end(), record.text, record.text + record.length);
        stream.push_back(0);
      }
      continue;
    }
    if (end <= from || start >= to) continue;
    // Reading order, the selected part of it, and back to the stored order.
    std::vector<uint8_t> text(record.text, record.text + record.length);
    const bool rightToLeft = record.flags & kParaRightToLeft;
    if (rightToLeft) SwapVisualOrder(text.data(), text.size());
    const uint32_t first = std::max(from, start) - start, last = std::min(to, end) - start;
    std::vector<uint8_t> part(text.begin() + first, text.begin() + last);
    if (rightToLeft) SwapVisualOrder(part.data(), part.size());
    uint8_t flags = record.flags;
    if (last < record.length) flags = uint8_t(flags & ~kParaExtraRow);
    // A flags byte of 0 would end the stream early.
    if (flags == 0) flags = record.flags;
    stream.insert(stream.end(), {flags, record.param});
    stream.insert(stream.end(), part.begin(), part.end());
    stream.push_back(0);
  }
  if (!stream.empty()) stream.insert(stream.end(), {0, 0});
  return stream;
}

std::u16string SelectionReference(const PageView* view, int32_t fontAsciiBase) {
  if (!PageViewHasSelection(view) || !view->text) return {};
  bool any = false;
  VerseRange range{};
  for (const RecordVerseKey& record : ArticleRecordVerses(view->text, view->textLength)) {
    const uint32_t start = record.recordOffset + 2u, end = record.recordEnd - 1u;
    if (record.key.verse == 0 || end <= view->selectionStart || start >= view->selectionEnd) continue;
    if (!any || VerseBefore(record.key, range.first)) range.first = record.key;
    if (!any || VerseBefore(range.last, record.key)) range.last = record.key;
    any = true;
  }
  if (!any) return {};
  std::u16string out = u"(" + FormatReference(range) + u")";
  if (fontAsciiBase <= kSingleByteBaseMax) {
    for (char16_t& c : out)
      if (c >= u'\u05D0' && c <= u'\u05EA') c = char16_t(fontAsciiBase + (c - u'\u05D0'));
  }
  return out;
}

char16_t* ExportSelectionText(const PageView* view, int32_t fontAsciiBase, bool reverse) {
  const std::vector<uint8_t> stream = SelectionStream(view);
  if (stream.empty()) return nullptr;
  char16_t* text = ExportArticleText(stream.data(), stream.data() + stream.size(), fontAsciiBase, reverse);
  const std::u16string reference = SelectionReference(view, fontAsciiBase);
  if (!text || reference.empty()) return text;
  size_t length = 0;
  while (text[length]) ++length;
  const size_t units = length + reference.size() + 3;
  auto* joined = static_cast<char16_t*>(AllocOrAbort(units * sizeof(char16_t)));
  if (!joined) {
    platform::Free(text);
    return nullptr;
  }
  std::memcpy(joined, text, length * sizeof(char16_t));
  std::memcpy(joined + length, reference.data(), reference.size() * sizeof(char16_t));
  joined[length + reference.size()] = u'\r';
  joined[length + reference.size() + 1] = u'\n';
  joined[length + reference.size() + 2] = 0;
  platform::Free(text);
  return joined;
}

void CopySelectionOrArticle(PageView* view, bool append) {
  if (!PageViewHasSelection(view)) {
    CopyArticle(view, append);
    return;
  }
  const int32_t base = view->fontSpec.fontAsciiBase;
  // The same direction rule as Copy of the whole article.
  const bool reverse = view->drawReversed != (base > kSingleByteBaseMax);
  char16_t* text = ExportSelectionText(view, base, reverse);
  if (!text) return;
  PutTextOnClipboard(text, append, base);
  platform::Free(text);
}
