// The "Choose Section" dialog (template 118): the index tree over the whole dialog beside
// its own scroll bar, opened on the branch of the current article, with a group of the
// bookmarked articles in front of the table of contents. A tap on an entry closes it with
// that article.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/font_spec.h"

struct IndexView;

constexpr uint32_t kIndexDialogTemplate = 118;
constexpr uint16_t kIndexInitialLines = 100;

// The bookmark group's heading: key 0x8877 (group 0x0877), visible and expanded in style
// key 1, indent level 1; its entries are visible, style key 1, level 2.
constexpr uint16_t kBookmarkGroupKey = 0x8877;
constexpr uint8_t kBookmarkGroupFlags = 0xC1;
constexpr uint8_t kBookmarkEntryFlags = 0x81;
// The group's title in the letter code, stored in reverse reading order like all index
// text: "סימן" (samekh, yod, mem, final nun), "mark".
extern const uint8_t kBookmarkGroupTitle[5];

// The dialog's process-wide record, zeroed at every opening.
struct IndexDialogState {
  uint16_t resultArticle;  // the answer; starts as the current article
  platform::Window* dialog;
  platform::Dc* dc;        // taken at initialisation, given back at destruction
  platform::Rect box;      // the client area left of the scroll bar
  IndexView* view;
  FontSpec fontSpec;       // the reader's font, as the caller passed it
  int32_t wheelPending;    // wheel distance not yet turned into whole lines
  uint32_t groupBytes;     // bytes of the bookmark group in front of the table of contents
  bool placed;             // the first size change has scrolled to the current article
};
extern IndexDialogState gIndexDialog;
void ResetIndexDialogState();

// Runs the dialog modally over owner; answers the article chosen, the current article for
// OK / Done and when the dialog could not be made (so the caller stays), 0 for Cancel.
uint16_t ShowIndexDialog(void* instance, platform::Window* owner, uint16_t article, const FontSpec& fontSpec);
// What the Index command calls: ShowIndexDialog with the reader's instance.
uint16_t OpenIndexDialog(platform::Window* owner, uint16_t currentArticle, FontSpec* fontSpec);
intptr_t IndexDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Loads the table of contents, puts the bookmark group in front, makes and lays out the
// view and opens the current article's branch in the table of contents (also when the
// article is bookmarked, and so already shown in the group).
void SetUpIndexView();
// The dialog's scroll bar: range 0..maxTopRow, position topRow (0..0 without a view).
void SyncIndexScrollBar();

// The group for the bookmark list: its heading, one entry per bookmark the table of
// contents (toc, tocLength bytes; none allowed) lists with key article | 0x4000, and the
// end record. A new heap block of *length bytes, or none when memory is short.
uint8_t* BuildBookmarkGroup(const uint8_t* toc, uint32_t tocLength, uint32_t* length);
// One block with the records of p and then q, ended by five 0 bytes; p and q are freed.
// Either may be none (the other is answered as it is). When memory is short p is freed
// and q answered. *length gets the answer's length.
uint8_t* JoinIndexStreams(uint8_t* p, uint32_t pLength, uint8_t* q, uint32_t qLength, uint32_t* length);
// The stream the dialog shows: the group joined in front of toc when there are bookmarks,
// else toc. *length gets its length; *groupBytes (when given) the bytes of the group's
// records in front of toc's, 0 when there is no group or the join failed.
uint8_t* AddBookmarkGroup(uint8_t* toc, uint32_t tocLength, uint32_t* length, uint32_t* groupBytes = nullptr);
