// Every hit of the search pattern at once: a non-modal list window over the main window
// (template 125) with one row per hit of the whole book, in the order `solmar --find`
// gives (article by article, so a page's hits come before its commentary's). A row shows
// the page's title range, whether the hit lies in the text or the commentary, the verse it
// lies in and a stretch of text around it with the hit marked. Enter or a double click
// shows the selected hit as Search Again shows one; the list stays open until Escape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "platform/platform.h"

constexpr uint32_t kFindAllDialogTemplate = 125;
constexpr int kFindAllListId = 1001;

enum FindAllColumn { kFindAllPlace, kFindAllPart, kFindAllVerse, kFindAllContext, kFindAllColumnCount };
// Units of context shown on each side of a hit (an ellipsis marks a cut).
constexpr uint32_t kFindAllContextUnits = 24;

// One hit: where it ends and how long it is. Eight bytes, so a list of tens of thousands
// costs little; everything shown is made from the article when the row is drawn.
struct FoundHit {
  uint16_t article;
  uint16_t endOffset;  // stored offset of the match's highest byte
  uint16_t length;
  uint16_t recordOffset;  // the flags byte of the record it lies in
};

// Every hit of pattern in the book, in the listing's order, appended to hits. Answers how
// many articles could not be loaded.
int CollectBookHits(const uint8_t* pattern, std::vector<FoundHit>* hits);

// The verse of each record of an article, as a row shows it: "chapter:verse" (letters),
// the chapter alone for a chapter heading, empty for the title, subtitle and rules. Main
// text gives the verse by the number leading its paragraph, under the chapter of the last
// "פרק" heading (before the first one, the chapter the title range starts with);
// commentary by the "chapter:verse" its verse heading carries. A continuation paragraph
// (stored text starting with a space) belongs to the verse before it.
struct RecordVerse {
  uint32_t recordOffset;
  std::u16string verse;
};
std::vector<RecordVerse> ArticleVerses(const uint8_t* article, uint32_t length);

// The reading-order text around a hit (firstByte, count: stored offsets within the record's
// text) with up to kFindAllContextUnits units on each side, "…" where the text goes on, and
// where the hit stands in it.
struct HitContext {
  std::u16string text;
  int32_t markStart;
  int32_t markLength;
};
HitContext ContextAroundHit(const uint8_t* text, uint32_t textLength, uint8_t flags, uint32_t firstByte,
                            uint32_t count);

// "<pattern in reading order> — N hits" ("1 hit" for one).
std::u16string FindAllCaption(const uint8_t* pattern, size_t hits);

// The list window's process-wide state: the window (none while closed), the pattern it
// lists, the hits, and the article the cells were last made from.
struct FindAllState {
  platform::Window* dialog;
  platform::Window* mainWindow;
  uint8_t pattern[kSearchStringSize];
  std::vector<FoundHit> hits;
  uint16_t cachedArticle;  // 0: none
  std::vector<uint8_t> cachedText;
  std::u16string cachedTitle;
  std::vector<RecordVerse> cachedVerses;
};
extern FindAllState gFindAll;
void ResetFindAllState();

// The cell of a row as the list draws it; false for a row or column outside the list.
bool FindAllCell(int row, int column, platform::RowCell* cell);
// Shows the hit of row (main window's panes), opening the lower pane when the hit lies in
// a commentary while it is hidden. 1 when shown, 0 otherwise.
int GoToFoundHit(int row);

// The list of every hit of the stored search string, over mainWindow; an open list is
// filled anew and brought forward. With an empty search string, nothing happens (0).
// Answers 1 when the list is shown.
int OpenFindAllList(platform::Window* mainWindow);
// The Find All command: the list, or with an empty search string the search dialog (whose
// own Find All button then opens the list).
void FindAll(platform::Window* mainWindow);
// The Search command: the search dialog, and the list when its Find All button closed it.
void SearchWithDialog(platform::Window* mainWindow);

intptr_t FindAllListProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
