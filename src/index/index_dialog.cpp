#include "index/index_dialog.h"

#include <algorithm>

#include <cstring>

#include "content/article.h"
#include "content/streams.h"
#include "index/index_view.h"
#include "shell/bookmarks.h"
#include "shell/dialog_setup.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/colour_scheme.h"

const uint8_t kBookmarkGroupTitle[5] = {'p', 'o', 'j', 'r', 0};

IndexDialogState gIndexDialog{};

void ResetIndexDialogState() { gIndexDialog = IndexDialogState{}; }

namespace {

// Flags 30 of the shared dialog set-up: sized to the screen, input panel down, no menu bar.
constexpr uint32_t kIndexDialogSetUp =
    platform::kDialogSizeToScreen | platform::kDialogSizeFullScreen | platform::kDialogInputPanelDown |
    platform::kDialogNoMenuBar;
constexpr uint32_t kEndRecordSize = 5;
constexpr uint32_t kRecordHeaderSize = 4;
// Lines a wheel notch moves.
constexpr int32_t kWheelLines = 3;

const uint8_t* StreamEnd(const uint8_t* stream, uint32_t length) { return stream ? stream + length : nullptr; }

// Bytes of the records of stream up to its end record (or the first that does not fit).
uint32_t RecordBytes(const uint8_t* stream, uint32_t length) {
  if (!stream) return 0;
  uint32_t offset = 0;
  IndexRecord record;
  while (NextIndexRecord(stream, StreamEnd(stream, length), &offset, &record)) {
  }
  return offset;
}

// The table-of-contents record whose key is exactly article | 0x4000; false when none.
bool FindEntry(const uint8_t* toc, uint32_t tocLength, uint16_t article, IndexRecord* found) {
  if (!toc) return false;
  const uint16_t key = uint16_t(article | kIndexEntry);
  uint32_t offset = 0;
  IndexRecord record;
  while (NextIndexRecord(toc, StreamEnd(toc, tocLength), &offset, &record))
    if (record.key == key) {
      *found = record;
      return true;
    }
  return false;
}

uint8_t* WriteRecord(uint8_t* out, uint16_t key, uint8_t flags, uint8_t param, const uint8_t* text, uint32_t length) {
  *out++ = uint8_t(key & 0xFF);
  *out++ = uint8_t(key >> 8);
  *out++ = flags;
  *out++ = param;
  std::memcpy(out, text, length);
  out += length;
  *out++ = 0;
  return out;
}

platform::Rect ClientBox(platform::Window* dialog) {
  platform::Rect box{0, 0, 0, 0};
  platform::GetClientRect(dialog, &box);
  // The scroll bar stands at the box's right, or at its left in a right-to-left interface.
  const int32_t bar = platform::SystemMetric(platform::kSystemMetricScrollBarWidth);
  if (platform::IsLayoutRightToLeft())
    box.left = std::min(box.left + bar, box.right);
  else
    box.right = std::max(box.right - bar, box.left);
  return box;
}

// The tree's width in the box: a top-level line ends at the tree's right edge and its glyph
// lies right of it, so a glyph's width is kept free beside the scroll bar.
int32_t TreeWidth() {
  const int32_t width = gIndexDialog.box.right - gIndexDialog.box.left - kIndexGlyphZone;
  return width > 0 ? width : 0;
}

void OnInit(platform::Window* dialog) {
  gIndexDialog.dialog = dialog;
  gIndexDialog.dc = platform::GetWindowDc(dialog);
  // The tree's text is drawn opaque, on the tree's own ground.
  if (gIndexDialog.dc) platform::SetBackgroundColour(gIndexDialog.dc, gColourScheme->indexGround);
  gIndexDialog.box = ClientBox(dialog);
  SetUpIndexView();
  SetUpDialog(dialog, kIndexDialogSetUp);
  PlaceResizableDialog(dialog, DialogSizeSlot::kChooseSection);
}

void OnSize() {
  IndexView* view = gIndexDialog.view;
  gIndexDialog.box = ClientBox(gIndexDialog.dialog);
  ExpansionState* state = IndexViewSaveExpansion(view);
  // The tree keeps clear of the scroll bar, which lies over the client area's right edge.
  IndexViewSetSize(view, TreeWidth(), gIndexDialog.box.bottom - gIndexDialog.box.top);
  IndexViewRestoreExpansion(view, state);
  platform::Free(state);
  if (view && view->maxTopRow == 0) view->topRow = 0;
  // The current article's line in the table of contents (or, when it lists it nowhere, in
  // the bookmark group) is selected; the first size change, which gives the tree its
  // height, also scrolls it into view.
  const uint16_t article = gIndexDialog.resultArticle;
  int32_t current = IndexViewFindArticle(view, article, gIndexDialog.groupBytes);
  if (current < 0) current = IndexViewFindArticle(view, article, 0);
  if (view) view->selectedLine = uint16_t(current + 1);
  if (!gIndexDialog.placed) IndexViewScrollToLine(view, current);
  gIndexDialog.placed = true;
  IndexViewPaint(view, true);
  SyncIndexScrollBar();
}

intptr_t OnKeyDown(uint32_t key) {
  int32_t delta = 0;
  switch (key) {
    case platform::kVkPrior:
    case platform::kVkUp: delta = -1; break;
    case platform::kVkNext:
    case platform::kVkDown: delta = +1; break;
    default: return 1;
  }
  IndexViewScroll(gIndexDialog.view, delta, 1, true);
  SyncIndexScrollBar();
  return 0;
}

void OnTap(platform::Window* dialog, int32_t x, int32_t y) {
  // A tap in the margin right of the tree, on a top-level glyph, counts at the tree's edge:
  // inside the glyph zone of the lines that end there.
  const IndexView* view = gIndexDialog.view;
  if (view && x > view->x + view->width && x < gIndexDialog.box.right) x = view->x + view->width;
  const int32_t hit = IndexViewHitTest(gIndexDialog.view, x, y);
  if (hit > 0) {
    gIndexDialog.resultArticle = uint16_t(hit);
    platform::EndDialog(dialog, platform::kIdOk);
  } else if (hit < 0) {
    SyncIndexScrollBar();
  }
}

intptr_t OnScroll(platform::Window* dialog, uintptr_t wParam, intptr_t lParam) {
  IndexView* view = gIndexDialog.view;
  const int32_t topRow = view ? view->topRow : 0;
  const int32_t page = view ? view->linesPainted : 0;
  int32_t delta = 0;
  switch (platform::LowWord(wParam)) {
    case platform::kSbLineUp: delta = -1; break;
    case platform::kSbLineDown: delta = +1; break;
    case platform::kSbPageUp: delta = -page; break;
    case platform::kSbPageDown: delta = page; break;
    case platform::kSbThumbPosition:
    case platform::kSbThumbTrack: delta = int16_t(platform::HighWord(wParam)) - topRow; break;
    case platform::kSbTop: delta = -topRow; break;
    // The bar's own "Bottom" goes to the end, as "Top" goes to the start.
    case platform::kSbBottom: delta = view ? int32_t(view->maxTopRow) - topRow : 0; break;
    default: break;
  }
  if (delta != 0) IndexViewScroll(view, delta, 1, true);
  platform::DefWindowProc(dialog, platform::kMsgVScroll, wParam, lParam);
  if (delta != 0) SyncIndexScrollBar();
  return 1;
}

// The wheel moves three lines a notch, away from the user scrolling up; what is left of a
// fine-grained wheel waits for the next turn.
void OnWheel(int32_t distance) {
  gIndexDialog.wheelPending += distance * kWheelLines;
  const int32_t lines = gIndexDialog.wheelPending / platform::kWheelDelta;
  if (lines == 0) return;
  gIndexDialog.wheelPending -= lines * platform::kWheelDelta;
  IndexViewScroll(gIndexDialog.view, -lines, 1, true);
  SyncIndexScrollBar();
}

}  // namespace

uint16_t ShowIndexDialog(void*, platform::Window* owner, uint16_t article, const FontSpec& fontSpec) {
  ResetIndexDialogState();
  gIndexDialog.fontSpec = fontSpec;
  gIndexDialog.resultArticle = article;
  platform::DialogBox(kIndexDialogTemplate, owner, IndexDialogProc, 0);
  return gIndexDialog.resultArticle;
}

uint16_t OpenIndexDialog(platform::Window* owner, uint16_t currentArticle, FontSpec* fontSpec) {
  return ShowIndexDialog(gShellWindows.instance, owner, currentArticle, fontSpec ? *fontSpec : gReaderSettings.fontSpec);
}

intptr_t IndexDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      OnInit(dialog);
      return 0;
    case platform::kMsgSize:
      OnSize();
      return 0;
    case platform::kMsgEraseBackground: {
      const platform::Rect& b = gIndexDialog.box;
      FillViewRectColour(reinterpret_cast<platform::Dc*>(wParam), b.left, b.top, b.right - b.left, b.bottom - b.top,
                         gColourScheme->indexGround);
      return 1;
    }
    case platform::kMsgPaint:
      platform::BeginPaint(dialog);
      IndexViewPaint(gIndexDialog.view, true);
      platform::EndPaint(dialog);
      return 0;
    case platform::kMsgActivate:
      if (platform::LowWord(wParam) != platform::kWaInactive && gDeviceOptions.fullScreen && gShellWindows.taskBar)
        platform::ShowWindow(gShellWindows.taskBar, platform::kSwHide);
      return 0;
    case platform::kMsgKeyDown:
      return OnKeyDown(uint32_t(wParam));
    case platform::kMsgCommand:
      switch (platform::LowWord(wParam)) {
        case platform::kIdOk:
          platform::EndDialog(dialog, platform::kIdOk);
          break;
        case platform::kIdCancel:
          gIndexDialog.resultArticle = 0;
          platform::EndDialog(dialog, platform::kIdCancel);
          break;
        default:
          break;
      }
      return 1;
    case platform::kMsgLButtonDown:
      OnTap(dialog, int16_t(platform::LowWord(uintptr_t(lParam))), int16_t(platform::HighWord(uintptr_t(lParam))));
      return 0;
    case platform::kMsgVScroll:
      return OnScroll(dialog, wParam, lParam);
    case platform::kMsgMouseWheel:
      OnWheel(int16_t(platform::HighWord(wParam)));
      return 0;
    case platform::kMsgDestroy:
      RememberDialogSize(dialog, DialogSizeSlot::kChooseSection);
      platform::ReleaseWindowDc(dialog, gIndexDialog.dc);
      gIndexDialog.dc = nullptr;
      IndexViewDestroy(gIndexDialog.view, true);
      gIndexDialog.view = nullptr;
      return 0;
    default:
      return 0;
  }
}

void SetUpIndexView() {
  int reason = 0;
  uint32_t decoded = 0;
  uint8_t* toc = LoadArticle(kTableOfContentsArticle, &reason, &decoded);
  // The decoded bytes and the 0 LoadArticle puts after them.
  const uint32_t tocLength = toc ? decoded + 1 : 0;
  uint32_t length = 0;
  uint8_t* stream = AddBookmarkGroup(toc, tocLength, &length, &gIndexDialog.groupBytes);
  platform::Rect tree = gIndexDialog.box;
  tree.right = tree.left + TreeWidth();
  IndexView* view = IndexViewCreate(gIndexDialog.dc, tree, gIndexDialog.fontSpec, kIndexInitialLines);
  gIndexDialog.view = view;
  if (view) {
    view->drawReversed = gReaderSettings.flags & kFlagReverse;
    IndexViewLayOut(view, stream, length, false);
  }
  // A stream the view did not take (malformed, or memory ran out) is not kept.
  if (!view || view->text != stream) platform::Free(stream);
  // The table of contents' entry, not the bookmark group's, which is always shown.
  IndexViewRevealArticle(view, gIndexDialog.resultArticle, gIndexDialog.groupBytes);
  SyncIndexScrollBar();
}

void SyncIndexScrollBar() {
  const IndexView* view = gIndexDialog.view;
  platform::SetScrollRange(gIndexDialog.dialog, 0, view ? view->maxTopRow : 0, false);
  platform::SetScrollPosition(gIndexDialog.dialog, view ? view->topRow : 0, true);
  // The thumb shows how much of the tree is in view.
  platform::SetScrollPage(gIndexDialog.dialog, view ? view->linesPainted : 0);
}

uint8_t* BuildBookmarkGroup(const uint8_t* toc, uint32_t tocLength, uint32_t* length) {
  *length = 0;
  const uint32_t titleLength = sizeof kBookmarkGroupTitle - 1;
  // Sizing pass, then the writing pass over the same rules.
  uint32_t size = kRecordHeaderSize + titleLength + 1;
  const uint16_t* entries = gBookmarks.entries;
  for (const uint16_t* b = entries; b && *b; ++b) {
    IndexRecord record;
    if (FindEntry(toc, tocLength, *b, &record)) size += kRecordHeaderSize + record.length + 1;
  }
  auto* group = static_cast<uint8_t*>(platform::Alloc(size + kEndRecordSize));
  if (!group) return nullptr;
  uint8_t* out = WriteRecord(group, kBookmarkGroupKey, kBookmarkGroupFlags, 1, kBookmarkGroupTitle, titleLength);
  for (const uint16_t* b = entries; b && *b; ++b) {
    IndexRecord record;
    if (FindEntry(toc, tocLength, *b, &record))
      out = WriteRecord(out, uint16_t(*b | kIndexEntry), kBookmarkEntryFlags, 2, record.text, record.length);
  }
  std::memset(out, 0, kEndRecordSize);
  *length = size + kEndRecordSize;
  return group;
}

uint8_t* JoinIndexStreams(uint8_t* p, uint32_t pLength, uint8_t* q, uint32_t qLength, uint32_t* length) {
  if (!q) {
    *length = p ? pLength : 0;
    return p;
  }
  if (!p) {
    *length = qLength;
    return q;
  }
  const uint32_t a = RecordBytes(p, pLength);
  const uint32_t b = RecordBytes(q, qLength);
  auto* joined = static_cast<uint8_t*>(platform::Alloc(size_t(a) + b + kEndRecordSize));
  if (!joined) {
    platform::Free(p);
    *length = qLength;
    return q;
  }
  std::memcpy(joined, p, a);
  std::memcpy(joined + a, q, b);
  std::memset(joined + a + b, 0, kEndRecordSize);
  platform::Free(p);
  platform::Free(q);
  *length = a + b + kEndRecordSize;
  return joined;
}

uint8_t* AddBookmarkGroup(uint8_t* toc, uint32_t tocLength, uint32_t* length, uint32_t* groupBytes) {
  *length = toc ? tocLength : 0;
  if (groupBytes) *groupBytes = 0;
  if (!gBookmarks.entries || gBookmarks.count == 0) return toc;
  uint32_t groupLength = 0;
  uint8_t* group = BuildBookmarkGroup(toc, tocLength, &groupLength);
  if (!group) return toc;
  const uint32_t bytes = toc ? RecordBytes(group, groupLength) : 0;
  uint8_t* joined = JoinIndexStreams(group, groupLength, toc, tocLength, length);
  // Without toc the group stands alone; a failed join leaves toc alone.
  if (groupBytes && joined != toc) *groupBytes = bytes;
  return joined;
}
