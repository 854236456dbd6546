// The list of every hit of the search pattern: collecting the hits, the cells of a row made
// when it is drawn, the list window's procedure and going to a hit.
#include "search/find_all_list.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "content/article.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "platform/dialog_template.h"
#include "search/find_all.h"
#include "search/search.h"
#include "search/search_dialog.h"
#include "shell/dialog_setup.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "platform/ui_text.h"

FindAllState gFindAll{};

void ResetFindAllState() { gFindAll = FindAllState{}; }

namespace {

constexpr char16_t kEllipsis = u'\u2026';
constexpr char16_t kChapterWord[] = u"\u05E4\u05E8\u05E7";  // the word that heads a chapter
// The lower-pane size codes below this hide the pane (code 1).
constexpr int32_t kLowerPaneShownFrom = 10;
// Lead words of at most this many letters are verse numbers (the largest is 176: "קעו").
constexpr size_t kLongestNumeral = 3;

const platform::ResultColumn kColumns[kFindAllColumnCount] = {
    {SOLMAR_TEXT("Dialog", "Page"), 80},
    {SOLMAR_TEXT("Dialog", "In"), 50},
    {SOLMAR_TEXT("Dialog", "Verse"), 30},
    {SOLMAR_TEXT("Dialog", "Context"), 0},
};

char16_t DisplayUnit(uint8_t byte) { return LetterToDisplayUnit(byte, kUnicodeLetterBase); }

bool IsNumeral(std::u16string_view word) {
  return !word.empty() && word.size() <= kLongestNumeral && std::all_of(word.begin(), word.end(), IsUnicodeHebrewLetter);
}

// "chapter:verse" in letters; colon receives the position of the ":".
bool IsChapterVerse(std::u16string_view word, size_t* colon) {
  const size_t at = word.find(u':');
  if (at == std::u16string::npos || at == 0 || at + 1 >= word.size()) return false;
  if (!IsNumeral(word.substr(0, at)) || !IsNumeral(word.substr(at + 1))) return false;
  *colon = at;
  return true;
}

std::u16string WholeText(const ParagraphRecord& record) {
  return ReadingOrderText(record.text, record.length, record.flags, 0, record.length);
}

// The article's title in reading order; empty without one.
std::u16string TitleOf(const uint8_t* article, uint32_t length) {
  TitleRecords titles;
  FindTitles(article, article + length, &titles);
  return titles.title ? WholeText(*titles.title) : std::u16string();
}

// Makes article the one the cells come from. False when it cannot be loaded.
bool CacheArticle(uint16_t article) {
  if (gFindAll.cachedArticle == article) return true;
  gFindAll.cachedArticle = 0;
  gFindAll.cachedText.clear();
  gFindAll.cachedTitle.clear();
  gFindAll.cachedVerses.clear();
  uint32_t decoded = 0;
  uint8_t* copy = LoadArticle(article, nullptr, &decoded);
  if (!copy) return false;
  // The copy holds its decoded bytes and a 0 after them.
  gFindAll.cachedText.assign(copy, copy + decoded + 1);
  platform::Free(copy);
  const uint32_t length = uint32_t(gFindAll.cachedText.size());
  gFindAll.cachedTitle = TitleOf(gFindAll.cachedText.data(), length);
  gFindAll.cachedVerses = ArticleVerses(gFindAll.cachedText.data(), length);
  gFindAll.cachedArticle = article;
  return true;
}

std::u16string VerseOfRecord(uint32_t recordOffset) {
  const auto& verses = gFindAll.cachedVerses;
  const auto it = std::lower_bound(verses.begin(), verses.end(), recordOffset,
                                   [](const RecordVerse& v, uint32_t offset) { return v.recordOffset < offset; });
  return it != verses.end() && it->recordOffset == recordOffset ? it->verse : std::u16string();
}

HitContext ContextOfHit(const FoundHit& hit) {
  const std::vector<uint8_t>& text = gFindAll.cachedText;
  uint32_t at = hit.recordOffset;
  ParagraphRecord record;
  if (!NextParagraph(text.data(), text.data() + text.size(), &at, &record)) return {};
  const uint32_t textStart = hit.recordOffset + 2;
  if (hit.endOffset < textStart || hit.length == 0 || hit.endOffset + 1u < textStart + hit.length) return {};
  const uint32_t firstByte = hit.endOffset + 1u - hit.length - textStart;
  return ContextAroundHit(record.text, record.length, record.flags, firstByte, hit.length);
}

// Fills the list anew from gFindAll.pattern: caption, rows, the first row selected, the
// focus on the list.
void Refill(platform::Window* dialog) {
  gFindAll.hits.clear();
  gFindAll.cachedArticle = 0;
  CollectBookHits(gFindAll.pattern, &gFindAll.hits);
  const std::u16string caption = FindAllCaption(gFindAll.pattern, gFindAll.hits.size());
  platform::SetWindowText(dialog, caption.c_str());
  platform::Window* list = platform::GetDialogItem(dialog, kFindAllListId);
  platform::ResultListSetRowCount(list, int(gFindAll.hits.size()));
  if (!gFindAll.hits.empty()) platform::ResultListSetSelection(list, 0);
  platform::SetFocus(list);
}

}  // namespace

int CollectBookHits(const uint8_t* pattern, std::vector<FoundHit>* hits) {
  return ForEachBookArticle([&](uint16_t article, const uint8_t* data, uint32_t length) {
    ForEachMatchInArticle(data, length, pattern, [&](const ParagraphRecord& record, uint16_t end, uint16_t matchLength) {
      hits->push_back(FoundHit{article, end, matchLength, uint16_t(record.offset)});
    });
  });
}

std::vector<RecordVerse> ArticleVerses(const uint8_t* article, uint32_t length) {
  std::vector<RecordVerse> verses;
  if (!article) return verses;
  std::u16string chapter, verse;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(article, article + length, &at, &record)) {
    if (record.flags == kTitleFlags) {
      // The range "book chapter:verse - chapter:verse": the page starts in its first chapter.
      const std::u16string whole = WholeText(record);
      for (std::u16string_view word : SplitAtSpaces(whole)) {
        size_t colon = 0;
        if (IsChapterVerse(word, &colon)) {
          chapter = word.substr(0, colon);
          break;
        }
      }
      verses.push_back({record.offset, {}});
      continue;
    }
    if (record.flags == kSubtitleFlags || IsRuleRecord(record.flags)) {
      verses.push_back({record.offset, {}});
      continue;
    }
    if (record.length > 0 && record.text[0] == ' ') {  // a continuation of the paragraph before
      verses.push_back({record.offset, verse});
      continue;
    }
    const std::u16string whole = WholeText(record);
    const std::vector<std::u16string_view> words = SplitAtSpaces(whole);
    if (words.size() >= 2 && words[0] == kChapterWord) {
      chapter = words[1];
      verse.clear();
      verses.push_back({record.offset, chapter});
      continue;
    }
    verse.clear();
    size_t colon = 0;
    if (words.size() >= 2 && IsChapterVerse(words[1], &colon)) {
      verse = words[1];
      chapter = verse.substr(0, colon);
    } else if (!words.empty() && IsChapterVerse(words[0], &colon)) {
      verse = words[0];
      chapter = verse.substr(0, colon);
    } else if (!words.empty() && IsNumeral(words[0])) {
      verse = chapter.empty() ? std::u16string(words[0]) : chapter + u":" + std::u16string(words[0]);
    }
    verses.push_back({record.offset, verse});
  }
  return verses;
}

HitContext ContextAroundHit(const uint8_t* text, uint32_t textLength, uint8_t flags, uint32_t firstByte,
                            uint32_t count) {
  HitContext context{{}, -1, 0};
  if (!text || count == 0 || firstByte > textLength || count > textLength - firstByte) return context;
  const bool rightToLeft = flags & kParaRightToLeft;
  std::vector<uint32_t> order;
  if (rightToLeft) {
    order = SwappedOrder(text, textLength);
  } else {
    order.resize(textLength);
    for (uint32_t i = 0; i < textLength; ++i) order[i] = i;
  }
  // The hit's first and last units in reading order.
  size_t first = order.size(), last = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    if (order[k] < firstByte || order[k] >= firstByte + count) continue;
    first = std::min(first, k);
    last = k;
  }
  if (first == order.size()) return context;
  const size_t from = first > kFindAllContextUnits ? first - kFindAllContextUnits : 0;
  const size_t to = std::min(order.size(), last + 1 + kFindAllContextUnits);
  if (from > 0) context.text.push_back(kEllipsis);
  context.markStart = int32_t(context.text.size() + (first - from));
  context.markLength = int32_t(last - first + 1);
  for (size_t k = from; k < to; ++k) {
    const char16_t unit = DisplayUnit(text[order[k]]);
    context.text.push_back(rightToLeft ? MirrorBracket(unit) : unit);
  }
  if (to < order.size()) context.text.push_back(kEllipsis);
  return context;
}

std::u16string FindAllCaption(const uint8_t* pattern, size_t hits) {
  const uint32_t length = uint32_t(strnlen(reinterpret_cast<const char*>(pattern), kSearchStringSize - 1));
  std::u16string caption = ReadingOrderText(pattern, length, kParaRightToLeft, 0, length);
  caption += u" \u2014 ";
  for (char c : std::to_string(hits)) caption.push_back(char16_t(c));
  caption += platform::TranslateText("FindAll", hits == 1 ? SOLMAR_TEXT("FindAll", " hit") : SOLMAR_TEXT("FindAll", " hits"));
  return caption;
}

bool FindAllCell(int row, int column, platform::RowCell* cell) {
  if (!cell || row < 0 || size_t(row) >= gFindAll.hits.size() || column < 0 || column >= kFindAllColumnCount)
    return false;
  const FoundHit& hit = gFindAll.hits[size_t(row)];
  cell->text.clear();
  cell->markStart = -1;
  cell->markLength = 0;
  if (column == kFindAllPart) {
    cell->text = platform::TranslateText(
        "FindAll", hit.article % 2 ? SOLMAR_TEXT("FindAll", "Text") : SOLMAR_TEXT("FindAll", "Commentary"));
    return true;
  }
  const bool loaded = CacheArticle(hit.article);
  switch (column) {
    case kFindAllPlace:
      if (loaded && !gFindAll.cachedTitle.empty()) {
        cell->text = gFindAll.cachedTitle;
      } else {
        cell->text = platform::TranslateText("FindAll", SOLMAR_TEXT("FindAll", "Page "));
        for (char c : std::to_string((hit.article + 1) / 2)) cell->text.push_back(char16_t(c));
      }
      break;
    case kFindAllVerse:
      if (loaded) cell->text = VerseOfRecord(hit.recordOffset);
      break;
    case kFindAllContext:
      if (loaded) {
        HitContext context = ContextOfHit(hit);
        cell->text = std::move(context.text);
        cell->markStart = context.markStart;
        cell->markLength = context.markLength;
      }
      break;
    default: break;
  }
  return true;
}

int GoToFoundHit(int row) {
  if (row < 0 || size_t(row) >= gFindAll.hits.size()) return 0;
  const FoundHit hit = gFindAll.hits[size_t(row)];
  platform::Window* mainWindow = gFindAll.mainWindow;
  // A commentary hit needs the lower pane: a hidden one is shown at the default height.
  if (hit.article % 2 == 0 && gReaderSettings.bottomSection < kLowerPaneShownFrom) {
    gReaderSettings.bottomSection = kDefaultLowerPaneCode;
    LayOutPanes(mainWindow, kLastClientSize);
    RepaintPanes(mainWindow, kRepaintAfterResize);
    CheckLowerPaneSize();
  }
  return ShowHitInArticle(mainWindow, hit.article, hit.endOffset, hit.length);
}

int OpenFindAllList(platform::Window* mainWindow) {
  if (gReaderSettings.searchString[0] == 0) return 0;
  std::memcpy(gFindAll.pattern, gReaderSettings.searchString, kSearchStringSize);
  gFindAll.pattern[kSearchStringSize - 1] = 0;
  gFindAll.mainWindow = mainWindow;
  if (gFindAll.dialog) {
    Refill(gFindAll.dialog);
    platform::SetForegroundWindow(gFindAll.dialog);
    return 1;
  }
  gFindAll.dialog = platform::CreateDialog(kFindAllDialogTemplate, mainWindow, FindAllListProc, 0);
  return gFindAll.dialog ? 1 : 0;
}

void FindAll(platform::Window* mainWindow) {
  if (gReaderSettings.searchString[0] == 0)
    SearchWithDialog(mainWindow);
  else
    OpenFindAllList(mainWindow);
}

void SearchWithDialog(platform::Window* mainWindow) {
  if (OpenSearchDialog(mainWindow) == kSearchFindAllId) OpenFindAllList(mainWindow);
}

intptr_t FindAllListProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      platform::ResultListSetColumns(platform::GetDialogItem(dialog, kFindAllListId), kColumns, kFindAllColumnCount);
      Refill(dialog);
      PlaceResizableDialog(dialog, DialogSizeSlot::kFindAll);
      return 0;  // the list has the focus already
    case platform::kMsgSize:
      platform::MoveWindow(platform::GetDialogItem(dialog, kFindAllListId), 0, 0,
                           int32_t(platform::LowWord(uintptr_t(lParam))), int32_t(platform::HighWord(uintptr_t(lParam))),
                           true);
      return 0;
    case platform::kMsgCommand: {
      const uint32_t id = platform::LowWord(wParam);
      const bool doubleClick = id == uint32_t(kFindAllListId) && platform::HighWord(wParam) == platform::kLbnDblClk;
      if (id == uint32_t(platform::kIdOk) || doubleClick) {
        GoToFoundHit(platform::ResultListGetSelection(platform::GetDialogItem(dialog, kFindAllListId)));
        return 1;
      }
      if (id == uint32_t(platform::kIdCancel)) {
        platform::DestroyWindow(dialog);
        return 1;
      }
      return 0;
    }
    case platform::kMsgGetRowCell: {
      auto* cell = reinterpret_cast<platform::RowCell*>(lParam);
      return FindAllCell(cell ? cell->row : -1, cell ? cell->column : -1, cell) ? 1 : 0;
    }
    case platform::kMsgDestroy:
      RememberDialogSize(dialog, DialogSizeSlot::kFindAll);
      if (gFindAll.dialog == dialog) ResetFindAllState();
      return 1;
    default:
      return 0;
  }
}
