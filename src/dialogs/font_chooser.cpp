#include "dialogs/font_chooser.h"

#include <algorithm>
#include <cstring>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/dialog_template.h"
#include "shell/dialog_setup.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"

FontChooserState gFontChooser{};

const int32_t kFontChooserSizes[kFontChooserSizeCount] = {10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 52, 72};

namespace {

constexpr const int32_t (&kSizes)[kFontChooserSizeCount] = kFontChooserSizes;
constexpr uint32_t kSizeTextUnits = 8;
constexpr uint32_t kDialogSetUpFlags = 30;

// Decimal text of value (a 32-bit value needs at most 11 units and the 0).
void DecimalText(int32_t value, char16_t text[12]) {
  char16_t digits[12];
  int n = 0;
  uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
  do {
    digits[n++] = char16_t(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int out = 0;
  if (value < 0) text[out++] = u'-';
  while (n > 0) text[out++] = digits[--n];
  text[out] = 0;
}

// value = value x 10 + (unit - '0') over every unit, without looking at what the units are;
// the arithmetic wraps instead of overflowing.
int32_t DecimalValue(const char16_t* text) {
  uint32_t value = 0;
  for (; *text; ++text) value = value * 10u + (uint32_t(*text) - uint32_t(u'0'));
  return int32_t(value);
}

void CopyFace(char16_t* to, const char16_t* from) {
  int i = 0;
  for (; i < 31 && from[i]; ++i) to[i] = from[i];
  for (; i < 32; ++i) to[i] = 0;
}

bool SameFace(const char16_t* a, const char16_t* b) {
  for (int i = 0; i < 32; ++i) {
    if (a[i] != b[i]) return false;
    if (a[i] == 0) return true;
  }
  return true;
}

// The letters, and the verse above them as the panes would draw it in that base.
void ShowPreviewLetters(platform::Window* dialog, int32_t base) {
  FillPreviewLetters(gFontChooser.previewLetters, base);
  platform::SetWindowText(platform::GetDialogItem(dialog, kPreviewId), gFontChooser.previewLetters);
  platform::Window* verseBox = platform::GetDialogItem(dialog, kVersePreviewId);
  if (!verseBox || gFontChooser.verse[0] == 0) return;
  const bool reverse = (gReaderSettings.flags & kFlagReverse) != 0;
  char16_t* shown = ToDisplayText(gFontChooser.verse, kPreviewVerseBytes, nullptr, base, reverse);
  platform::SetWindowText(verseBox, shown ? shown : u"");
  platform::Free(shown);
}

// Faces the first start prefers, best first: the serif reading faces of Culmus.
const char16_t* const kReadingFaces[] = {u"Frank Ruehl CLM", u"Taamey Frank CLM", u"David CLM",
                                         u"Taamey David CLM", u"Drugulin CLM", u"Keter YG"};
// Families that write Hebrew but are made for headings, signs or scrolls, not for reading.
const char16_t* const kDisplayFaces[] = {u"Aharoni CLM",       u"Caladings CLM", u"Stam Ashkenaz CLM",
                                         u"Stam Sefarad CLM",  u"Yehuda CLM",    u"Miriam Mono CLM",
                                         u"Comix No2 CLM",     u"Dorian CLM",    u"Gan CLM",
                                         u"Ozrad CLM"};

bool IsDisplayFace(const char16_t* face) {
  for (const char16_t* display : kDisplayFaces)
    if (SameFace(face, display)) return true;
  return false;
}

bool AppendFamily(const platform::FontDescription& family, intptr_t) {
  return FontFamilyListAppend(&gFontChooser.families, family);
}

void OnInit(platform::Window* dialog, FontSpec* fontSpec) {
  platform::Window* parent = platform::GetParent(dialog);
  platform::Dc* dc = platform::GetWindowDc(parent);
  SetUpDialog(dialog, kDialogSetUpFlags);
  platform::ShowWindow(platform::GetDialogItem(dialog, kFirstStartLineId),
                       gFontChooser.firstStart ? platform::kSwShow : platform::kSwHide);
  PlaceResizableDialog(dialog, DialogSizeSlot::kFontChooser);

  FontFamilyListFree(&gFontChooser.families);
  gFontChooser.candidate = platform::FontDescription{};
  gFontChooser.fontSpec = fontSpec;

  if (!gFontChooser.families.head) platform::EnumerateFontFamilies(dc, AppendFamily, 0);
  if (gFontChooser.firstStart && fontSpec->faceName[0] == 0) {
    // Chosen in advance, so that even Cancel leaves the reader with a face that reads well.
    if (const FontFamilyEntry* best = BestReadingFamily(&gFontChooser.families)) {
      CopyFace(fontSpec->faceName, best->faceName);
      if (best->charset == platform::kHebrewCharset) fontSpec->fontAsciiBase = 1488;
    }
    if (fontSpec->size == 0) fontSpec->size = ComfortableFontSize(platform::PixelsPerInch(dc));
  }
  platform::ReleaseWindowDc(parent, dc);
  FirstVerseOfBook(gFontChooser.verse, kPreviewVerseBytes);

  if (fontSpec->fontAsciiBase == 0) fontSpec->fontAsciiBase = 1488;
  ShowPreviewLetters(dialog, fontSpec->fontAsciiBase);
  switch (fontSpec->fontAsciiBase) {
    case 97: platform::CheckDialogButton(dialog, kBase97Id, true); break;
    case 224: platform::CheckDialogButton(dialog, kBase224Id, true); break;
    case 1488: platform::CheckDialogButton(dialog, kBase1488Id, true); break;
    default: break;
  }

  platform::Window* faces = platform::GetDialogItem(dialog, kFontListId);
  platform::ListBoxReset(faces);
  for (const FontFamilyEntry* e = gFontChooser.families.head; e; e = e->next) platform::ListBoxAddString(faces, e->faceName);
  char16_t face[32];
  CopyFace(face, fontSpec->faceName);
  platform::ListBoxSelectPrefix(faces, -1, face);

  platform::Window* sizes = platform::GetDialogItem(dialog, kSizeListId);
  platform::ListBoxReset(sizes);
  char16_t text[12];
  // A stored size below the smallest offered one is offered first. (A size of 0 or less is
  // no size to offer.)
  if (fontSpec->size > 0 && fontSpec->size < kSizes[0]) {
    DecimalText(fontSpec->size, text);
    platform::ListBoxAddString(sizes, text);
  }
  for (int32_t size : kSizes) {
    DecimalText(size, text);
    platform::ListBoxAddString(sizes, text);
  }
  if (fontSpec->size != 0) {
    DecimalText(fontSpec->size, text);
    platform::ListBoxSelectPrefix(sizes, -1, text);
  }
  // The preview shows the face and size selected from the start.
  ApplyFontChoice(dialog, ApplyMode::kPreviewOnly);
  platform::SetFocus(faces);
}

void FreeChooser() {
  FontFamilyListFree(&gFontChooser.families);
}

}  // namespace

bool FontFamilyListAppend(FontFamilyList* list, const platform::FontDescription& family) {
  FontFamilyEntry* entry;
  if (list->freeInBlock == 0) {
    entry = static_cast<FontFamilyEntry*>(platform::Alloc(sizeof(FontFamilyEntry) * kFontFamilyBlockEntries));
    if (!entry) return false;
    entry->blockStart = 1;
    list->freeInBlock = kFontFamilyBlockEntries;
  } else {
    entry = list->tail + 1;
    entry->blockStart = 0;
  }
  --list->freeInBlock;
  entry->next = nullptr;
  CopyFace(entry->faceName, family.face);
  entry->charset = family.charset;
  if (list->tail)
    list->tail->next = entry;
  else
    list->head = entry;
  list->tail = entry;
  return true;
}

const FontFamilyEntry* FontFamilyListFind(const FontFamilyList* list, const char16_t* face) {
  for (const FontFamilyEntry* e = list->head; e; e = e->next)
    if (SameFace(e->faceName, face)) return e;
  return nullptr;
}

void FontFamilyListFree(FontFamilyList* list) {
  // A block is freed once the walk has left it: at the next block's first entry, or at the end.
  FontFamilyEntry* block = nullptr;
  for (FontFamilyEntry* e = list->head; e;) {
    FontFamilyEntry* next = e->next;
    if (e->blockStart) {
      platform::Free(block);
      block = e;
    }
    e = next;
  }
  platform::Free(block);
  *list = FontFamilyList{};
}

const FontFamilyEntry* BestReadingFamily(const FontFamilyList* list) {
  for (const char16_t* face : kReadingFaces)
    if (const FontFamilyEntry* e = FontFamilyListFind(list, face)) return e;
  const FontFamilyEntry* anyHebrew = nullptr;
  for (const FontFamilyEntry* e = list->head; e; e = e->next) {
    if (e->charset != platform::kHebrewCharset) continue;
    if (!IsDisplayFace(e->faceName)) return e;
    if (!anyHebrew) anyHebrew = e;
  }
  return anyHebrew;
}

int32_t ComfortableFontSize(int32_t pixelsPerInch) {
  if (pixelsPerInch <= 0) pixelsPerInch = 96;
  // A quarter inch, in pixels: 24 at 96 per inch.
  const int64_t wanted = int64_t(pixelsPerInch) / 4;
  int32_t best = kSizes[0];
  for (int32_t size : kSizes)
    if (std::abs(int64_t(size) - wanted) < std::abs(int64_t(best) - wanted)) best = size;
  return best;
}

void FirstVerseOfBook(uint8_t* verse, uint32_t capacity) {
  if (!verse || capacity == 0) return;
  verse[0] = 0;
  int reason = 0;
  uint32_t length = 0;
  uint8_t* article = LoadArticle(1, &reason, &length);
  if (!article) return;
  uint32_t offset = 0;
  ParagraphRecord record{};
  while (NextParagraph(article, article + length + 1, &offset, &record)) {
    if (record.flags == kTitleFlags || record.flags == kSubtitleFlags || IsRuleRecord(record.flags)) continue;
    if (!(record.flags & kParaRightToLeft) || (record.flags & kParaBold) || record.length == 0) continue;
    // Stored right to left in visual order: its reading start is its end, kept when cut.
    const uint32_t n = std::min(record.length, capacity - 1);
    std::memcpy(verse, record.text + (record.length - n), n);
    verse[n] = 0;
    break;
  }
  platform::Free(article);
}

void ResetFontChooserState() {
  FontFamilyListFree(&gFontChooser.families);
  platform::DeleteFont(gFontChooser.previewFont);
  gFontChooser = FontChooserState{};
}

void FillPreviewLetters(char16_t letters[28], int32_t base) {
  for (int i = 0; i < 27; ++i) letters[i] = char16_t(base + 26 - i);
  letters[27] = 0;
}

void ApplyFontChoice(platform::Window* dialog, ApplyMode mode) {
  FontChooserState& s = gFontChooser;
  platform::Window* faces = platform::GetDialogItem(dialog, kFontListId);
  const int face = platform::ListBoxGetCurrentSelection(faces);
  if (face != platform::kListBoxError) {
    char16_t text[32] = {};
    if (platform::ListBoxGetText(faces, face, text, 32) != platform::kListBoxError) CopyFace(s.candidate.face, text);
  }
  platform::Window* sizes = platform::GetDialogItem(dialog, kSizeListId);
  const int size = platform::ListBoxGetCurrentSelection(sizes);
  if (size != platform::kListBoxError) {
    char16_t text[kSizeTextUnits + 1] = {};
    if (platform::ListBoxGetText(sizes, size, text, kSizeTextUnits + 1) != platform::kListBoxError)
      s.candidate.height = DecimalValue(text);
  }

  if (mode == ApplyMode::kListChanged && s.candidate.face[0] != 0) {
    const FontFamilyEntry* family = FontFamilyListFind(&s.families, s.candidate.face);
    if (family && family->charset == platform::kHebrewCharset && !platform::IsDialogButtonChecked(dialog, kBase1488Id)) {
      platform::CheckDialogButton(dialog, kBase224Id, false);
      platform::CheckDialogButton(dialog, kBase97Id, false);
      platform::CheckDialogButton(dialog, kBase1488Id, true);
      ShowPreviewLetters(dialog, 1488);
    }
  }

  if (mode == ApplyMode::kCommit) {
    FontSpec* fontSpec = s.fontSpec;
    if (s.candidate.height != 0) fontSpec->size = s.candidate.height;
    if (platform::IsDialogButtonChecked(dialog, kBase224Id))
      fontSpec->fontAsciiBase = 224;
    else if (platform::IsDialogButtonChecked(dialog, kBase97Id))
      fontSpec->fontAsciiBase = 97;
    else if (platform::IsDialogButtonChecked(dialog, kBase1488Id))
      fontSpec->fontAsciiBase = 1488;
    if (s.candidate.face[0] != 0) CopyFace(fontSpec->faceName, s.candidate.face);
    return;
  }

  // The old preview font goes only once the new one shows: a font that cannot be made
  // leaves the preview as it was.
  platform::Font* font = platform::CreateFont(s.candidate);
  if (!font) return;
  platform::SetWindowFont(platform::GetDialogItem(dialog, kPreviewId), font, true);
  platform::SetWindowFont(platform::GetDialogItem(dialog, kVersePreviewId), font, true);
  platform::DeleteFont(s.previewFont);
  s.previewFont = font;
}

void LayOutFontChooser(platform::Window* dialog, int32_t width, int32_t height) {
  const uint32_t units = platform::GetDialogBaseUnits();
  const int32_t row = platform::DialogUnitsToPixelsY(10, units);  // a label or a button
  const int32_t gap = platform::DialogUnitsToPixelsY(4, units);
  const int32_t c = std::max(0, width - 14), d = (2 * c) / 3;
  const int32_t bottom = std::max(7, height - 7);
  auto place = [dialog](int id, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (platform::Window* control = platform::GetDialogItem(dialog, id))
      platform::MoveWindow(control, x, y, std::max(0, w), std::max(0, h), true);
  };
  int32_t top = 7;
  if (gFontChooser.firstStart) {
    const int32_t line = platform::DialogUnitsToPixelsY(16, units);
    place(kFirstStartLineId, 7, top, c, line);
    top += line + gap;
  }
  // Two thirds of what is left below the labels for the lists, the rest for the preview.
  const int32_t listTop = top + row;
  const int32_t f = listTop + std::max(0, 2 * (bottom - listTop) / 3);
  place(kFontLabelId, 7, top, d - 7, row);
  place(kFontListId, 7, listTop, d - 7, f - listTop);
  place(kBaseLabelId, d + 7, top, c - d, row);
  int32_t y = listTop;
  for (int id : {kBase97Id, kBase224Id, kBase1488Id})
    if (platform::GetDialogItem(dialog, id)) {
      place(id, d + 7, y, c - d, row);
      y += row;
    }
  y += gap;
  place(kSizeLabelId, d + 7, y, c - d, row);
  place(kSizeListId, d + 7, y + row, c - d, f - y - row);
  const int32_t previewTop = f + gap, half = std::max(0, (bottom - previewTop) / 2);
  place(kVersePreviewId, 7, previewTop, c, half);
  place(kPreviewId, 7, previewTop + half, c, bottom - previewTop - half);
}

intptr_t FontChooserProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      OnInit(dialog, reinterpret_cast<FontSpec*>(lParam));
      return 0;
    case platform::kMsgCommand:
      switch (platform::LowWord(wParam)) {
        case kFontListId:
        case kSizeListId: ApplyFontChoice(dialog, ApplyMode::kListChanged); return 1;
        case kBase97Id: ShowPreviewLetters(dialog, 97); ApplyFontChoice(dialog, ApplyMode::kPreviewOnly); return 1;
        case kBase224Id: ShowPreviewLetters(dialog, 224); ApplyFontChoice(dialog, ApplyMode::kPreviewOnly); return 1;
        case kBase1488Id: ShowPreviewLetters(dialog, 1488); ApplyFontChoice(dialog, ApplyMode::kPreviewOnly); return 1;
        case platform::kIdOk:
          ApplyFontChoice(dialog, ApplyMode::kCommit);
          FreeChooser();
          platform::EndDialog(dialog, platform::kIdOk);
          return 1;
        case platform::kIdCancel:
          FreeChooser();
          platform::EndDialog(dialog, platform::kIdCancel);
          return 1;
        default: return 0;
      }
    case platform::kMsgSize:
      LayOutFontChooser(dialog, int32_t(platform::LowWord(uintptr_t(lParam))), int32_t(platform::HighWord(uintptr_t(lParam))));
      return 0;
    case platform::kMsgActivate:
      if (platform::LowWord(wParam) != platform::kWaInactive && gDeviceOptions.fullScreen && gShellWindows.taskBar)
        platform::ShowWindow(gShellWindows.taskBar, platform::kSwHide);
      return 0;
    case platform::kMsgDestroy:
      RememberDialogSize(dialog, DialogSizeSlot::kFontChooser);
      // The preview control is gone; a dialog ended some other way than OK or Cancel must
      // not keep its family list either.
      platform::DeleteFont(gFontChooser.previewFont);
      gFontChooser.previewFont = nullptr;
      FreeChooser();
      return 0;
    default: return 0;
  }
}

intptr_t OpenFontChooser(platform::Window* owner, FontSpec* fontSpec, FontChooserOpening opening) {
  if (!fontSpec) return -1;
  gFontChooser.firstStart = opening == FontChooserOpening::kFirstStart;
  const intptr_t answer =
      platform::DialogBox(kFontChooserTemplate, owner, FontChooserProc, reinterpret_cast<intptr_t>(fontSpec));
  gFontChooser.firstStart = false;
  return answer;
}
