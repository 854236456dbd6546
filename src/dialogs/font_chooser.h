// The "Choose Font" dialog: face, size and letter base of a FontSpec, with a preview of
// the 27 letters in the candidate font.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/font_spec.h"

constexpr uint32_t kFontChooserTemplate = 105;
constexpr int kFontListId = 1001;     // face names, sorted
constexpr int kPreviewId = 1002;      // the 27 letters in the candidate font
constexpr int kBase97Id = 1003;       // letter base 97 (the template holds no such button)
constexpr int kBase224Id = 1004;
constexpr int kBase1488Id = 1005;
constexpr int kSizeListId = 1006;     // sizes in pixels
constexpr int kFirstStartLineId = 1007;  // what the first start asks; hidden otherwise
constexpr int kVersePreviewId = 1009;    // the book's first verse in the candidate font, above 1002
constexpr int kFontLabelId = 1010;       // "&Font" over the face list
constexpr int kBaseLabelId = 1011;       // over the letter-base buttons
constexpr int kSizeLabelId = 1012;       // "&Size" over the size list
// Letter-code bytes of the verse the preview shows, with its 0.
constexpr int kPreviewVerseBytes = 256;
constexpr int kFontFamilyBlockEntries = 25;

// The sizes in pixels the size list offers, smallest first.
constexpr int kFontChooserSizeCount = 14;
extern const int32_t kFontChooserSizes[kFontChooserSizeCount];

// One font family, carved from a block of kFontFamilyBlockEntries entries; the first entry
// of each block is marked, and the list is freed block by block.
struct FontFamilyEntry {
  FontFamilyEntry* next;
  char16_t faceName[32];
  uint8_t charset;
  uint8_t blockStart;
};

struct FontFamilyList {
  FontFamilyEntry* head;
  FontFamilyEntry* tail;
  int freeInBlock;  // entries still free in the tail's block
};

// Appends a family (face and charset), taking a new block from the heap when the current
// one is full; false when that block cannot be allocated (the list stays as it was).
bool FontFamilyListAppend(FontFamilyList* list, const platform::FontDescription& family);
// The entry whose face is exactly face; none when there is none.
const FontFamilyEntry* FontFamilyListFind(const FontFamilyList* list, const char16_t* face);
// Frees every block and empties the list.
void FontFamilyListFree(FontFamilyList* list);

// The chooser's state while it is open.
struct FontChooserState {
  FontFamilyList families;
  platform::FontDescription candidate;  // height and face from the two lists
  platform::Font* previewFont;          // shown in the preview; none before the first
  char16_t previewLetters[28];          // base + 26 down to base + 0, then 0
  FontSpec* fontSpec;                   // the record OK writes
  bool firstStart;                      // opened by the first start: explained, a face chosen in advance
  uint8_t verse[kPreviewVerseBytes];    // the preview's verse, letter code as stored; empty: none
};
extern FontChooserState gFontChooser;
// Frees what the state still holds and zeroes it.
void ResetFontChooserState();

// base + 26 down to base + 0 and a terminator: last letter first, so that a box drawing
// left to right shows them in reading order.
void FillPreviewLetters(char16_t letters[28], int32_t base);

// The face the first start chooses in advance from the installed families: the first of the
// preferred reading faces (the serif Culmus faces first) that is installed, else the first
// family that writes Hebrew and is no display or scribal face, else the first that writes
// Hebrew; none when no family writes Hebrew.
const FontFamilyEntry* BestReadingFamily(const FontFamilyList* list);
// The offered size nearest to a text height of a quarter inch at that resolution (96 when
// it is not positive); of two as near, the smaller.
int32_t ComfortableFontSize(int32_t pixelsPerInch);
// The first verse of the book (the first right-to-left paragraph of article 1 that is no
// heading) into verse, letter code as stored, cut to capacity - 1 bytes; empty when the
// article cannot be had.
void FirstVerseOfBook(uint8_t* verse, uint32_t capacity);

enum class ApplyMode { kCommit, kListChanged, kPreviewOnly };
// Takes the lists' choice into the candidate; commit writes it into the FontSpec, the
// other modes show it in the preview (list-changed also switches to the Unicode base for a
// Hebrew family).
void ApplyFontChoice(platform::Window* dialog, ApplyMode mode);
// Places the controls for a client area of width x height pixels.
void LayOutFontChooser(platform::Window* dialog, int32_t width, int32_t height);

intptr_t FontChooserProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
// How the chooser was asked for: by the Font command, or by the first start, which shows a
// line saying what to do and, when no face is stored, writes the best reading face and a
// comfortable size into the FontSpec as it opens (so Cancel keeps them).
enum class FontChooserOpening { kCommand, kFirstStart };
// Runs the chooser over owner on fontSpec, which only OK changes (a letter base of 0 is
// made 1488 at opening, whatever the answer; the first start's choice in advance stays).
// 1 for OK, 2 for Cancel, -1 when the dialog cannot be made.
intptr_t OpenFontChooser(platform::Window* owner, FontSpec* fontSpec,
                         FontChooserOpening opening = FontChooserOpening::kCommand);
