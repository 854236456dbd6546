// A long run of random use of the whole reader on the fake backend, with the real book:
// keys, taps, the wheel, scroll-bar codes, every menu command, size changes, the dialogs
// opened, driven and closed, bookmarks toggled with every answer, Copy and Append over any
// clipboard content. After every step the reader's invariants must hold; at the end Exit
// saves once and a new start from what was saved shows the same state.
//
// Each action is one row of kActions (a weight and a function), so a new feature's input
// is one more row. The run is deterministic for its seed. From the environment:
//   SOLMAR_RANDOM_SEED=N      the first session's seed (default 1)
//   SOLMAR_RANDOM_STEPS=N     steps per session (default 1500)
//   SOLMAR_RANDOM_SESSIONS=N  run N sessions with seeds SEED, SEED+1, ... (default 1)
//   SOLMAR_RANDOM_SECONDS=N   run sessions with seeds SEED, SEED+1, ... for this long, at least
//                             SESSIONS of them
// A failure names its seed, step and the last actions; SOLMAR_RANDOM_SEED with that seed
// and SOLMAR_RANDOM_STEPS at least that step repeats it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "dialogs/about_box.h"
#include "dialogs/font_chooser.h"
#include "export/export.h"
#include "index/index_dialog.h"
#include "platform/fake/fake_platform.h"
#include "search/find_all_list.h"
#include "search/search_dialog.h"
#include "shell/bookmarks.h"
#include "shell/command_ids.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_menus.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "reader/startup.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"

namespace {

using platform::Window;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoull(text, nullptr, 10);
}

std::vector<uint8_t> BookPack() {
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// What a run leaves for the next start, as the reader holds it in memory.
struct SavedState {
  FontSpec fontSpec;
  uint32_t flags;
  uint16_t lesson;
  std::string searchString;
  int32_t bottomSection;
  uint16_t upperTopRow;
  uint16_t lowerTopRow;
  std::vector<uint16_t> bookmarks;

  bool operator==(const SavedState& o) const {
    return std::memcmp(fontSpec.faceName, o.fontSpec.faceName, sizeof fontSpec.faceName) == 0 &&
           fontSpec.size == o.fontSpec.size && fontSpec.fontAsciiBase == o.fontSpec.fontAsciiBase &&
           flags == o.flags && lesson == o.lesson && searchString == o.searchString &&
           bottomSection == o.bottomSection && upperTopRow == o.upperTopRow && lowerTopRow == o.lowerTopRow &&
           bookmarks == o.bookmarks;
  }
  std::string Describe() const {
    std::ostringstream out;
    out << "lesson " << lesson << ", flags 0x" << std::hex << flags << std::dec << ", size " << fontSpec.size
        << ", base " << fontSpec.fontAsciiBase << ", bottom " << bottomSection << ", rows " << upperTopRow << "/"
        << lowerTopRow << ", search \"" << searchString << "\", " << bookmarks.size() << " bookmarks";
    return out.str();
  }
};

std::vector<uint16_t> BookmarkEntries() {
  std::vector<uint16_t> list;
  for (uint16_t i = 0; gBookmarks.entries && i < gBookmarks.count; ++i) list.push_back(gBookmarks.entries[i]);
  return list;
}

SavedState CurrentState() {
  SavedState s{};
  s.fontSpec = gReaderSettings.fontSpec;
  s.flags = gReaderSettings.flags;
  s.lesson = gReaderSettings.lesson;
  s.searchString = reinterpret_cast<const char*>(gReaderSettings.searchString);
  s.bottomSection = gReaderSettings.bottomSection;
  s.upperTopRow = gPaneState.upperView ? gPaneState.upperView->topRow : 0;
  s.lowerTopRow = gPaneState.lowerView ? gPaneState.lowerView->topRow : 0;
  s.bookmarks = BookmarkEntries();
  return s;
}

class RandomSession;
struct Action {
  const char* name;
  int weight;
  void (*run)(RandomSession&);
};

// One started reader driven by one seed.
class RandomSession {
 public:
  explicit RandomSession(uint64_t seed) : seed_(seed), rng_(seed) {}

  std::mt19937_64& Rng() { return rng_; }
  int Below(int n) { return int(rng_() % uint64_t(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool OneIn(int n) { return Below(n) == 0; }
  Window* MainWindow() const { return window_; }
  std::vector<uint8_t> RandomBytes(int n) {
    std::vector<uint8_t> bytes(size_t(n < 0 ? 0 : n));
    for (uint8_t& b : bytes) b = uint8_t(rng_());
    return bytes;
  }
  // What the step did, for the failure report.
  void Note(const std::string& what) { detail_ = what; }
  // Draws row of the Find All list as the platform would: a row of the hits has a cell for
  // every column, each mark inside its text; any other row has none.
  void DrawnRow(Window* list, int row) {
    const std::vector<platform::RowCell> cells = fake::ResultListRow(list, row);
    const bool inside = row >= 0 && size_t(row) < gFindAll.hits.size();
    if (cells.size() != (inside ? size_t(kFindAllColumnCount) : 0u)) {
      badDraw_ = "row " + std::to_string(row) + " of " + std::to_string(gFindAll.hits.size()) + " drawn with " +
                 std::to_string(cells.size()) + " cells";
      return;
    }
    if (!inside) return;
    ++rowsDrawn_;
    for (const platform::RowCell& cell : cells)
      if (cell.markStart < -1 || (cell.markStart >= 0 && size_t(cell.markStart) + size_t(cell.markLength) > cell.text.size()))
        badDraw_ = "row " + std::to_string(row) + ", column " + std::to_string(cell.column) + ": a mark outside its text";
    if (cells[kFindAllPlace].text.empty()) badDraw_ = "row " + std::to_string(row) + " has no place";
  }
  int RowsDrawn() const { return rowsDrawn_; }

  intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    ++messages_;
    return platform::SendMessage(window_, message, wParam, lParam);
  }
  intptr_t Command(uint16_t id) {
    Note("command " + std::to_string(id));
    return Send(platform::kMsgCommand, id, 0);
  }
  int32_t ClientWidth() const { return gPaneState.lastClientWidth; }
  int32_t ClientHeight() const { return gPaneState.lastClientHeight; }

  // Starts the reader on a fresh fake with the book, a font already chosen and a few
  // stored options drawn from the seed.
  bool Start() {
    ResetWorld();
    if (!fake::UsePack(BookPack())) return false;
    fake::SetDefaultWindowSize(240, 350);
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"David CLM");
    static const uint32_t kFlags[] = {kDefaultFlags, 0, 0xFFFFFFFF, 0x00200040, 0x82400080, 0x10000000};
    fake::PutNumberSetting(kSettingsKeyPath, u"Flags", kFlags[Below(6)]);
    static const int32_t kBottoms[] = {1, 12, 13, 14, 23, 34};
    fake::PutNumberSetting(kSettingsKeyPath, u"BottomSection", uint32_t(kBottoms[Below(6)]));
    fake::PutNumberSetting(kSettingsKeyPath, u"Lesson", uint32_t(1 + 2 * Below(143)));
    if (OneIn(2)) fake::PutNumberSetting(kSettingsKeyPath, u"FontSize", uint32_t(Between(6, 40)));
    // Now and then values no run of the reader leaves: edited by hand or cut short.
    if (OneIn(4)) fake::PutNumberSetting(kSettingsKeyPath, u"Lesson", uint32_t(Rng()()));
    if (OneIn(4)) fake::PutNumberSetting(kSettingsKeyPath, u"LastPosition", uint32_t(Rng()()));
    if (OneIn(4)) fake::PutNumberSetting(kSettingsKeyPath, u"BottomSectionLastPosition", uint32_t(Rng()()));
    if (OneIn(6)) fake::PutNumberSetting(kSettingsKeyPath, u"BottomSection", uint32_t(Rng()()));
    if (OneIn(6)) fake::PutBytesSetting(kSettingsKeyPath, u"Bookmarks", RandomBytes(Below(20)));
    if (OneIn(6)) fake::PutBytesSetting(kSettingsKeyPath, u"SearchString", RandomBytes(Below(50)));
    LoadDeviceOptions();
    window_ = StartReader(platform::kSwShowNormal, 0);
    if (!window_) return false;
    Send(platform::kMsgSize, 0, platform::MakeLong(240, 350));
    Send(platform::kMsgPaint, 0, 0);
    loadedSearch_ = reinterpret_cast<const char*>(gReaderSettings.searchString);
    dcsOut_ = fake::WindowDcsOut();
    bitmaps_ = fake::LiveLoadedBitmaps();
    return true;
  }

  // Runs steps random actions; false (with a failure reported) when an invariant broke.
  bool Run(int steps);
  // Exit, then the checks of what was saved. False when something failed.
  bool Finish();

  int Messages() const { return messages_; }

 private:
  static void ResetWorld() {
    fake::ResetAll();
    ResetShellState();
    ResetReaderSettings();
    ResetBookmarks();
    ResetSettingsState();
    ResetConversionBuffer();
    ResetFindAllState();
  }
  std::string Violation() const;
  std::string History() const {
    std::string text;
    for (const std::string& line : history_) text += "  " + line + "\n";
    return text;
  }
  void Fail(int step, const std::string& what) {
    ADD_FAILURE() << "random use, seed " << seed_ << ", step " << step << ": " << what << "\nlast actions:\n"
                  << History() << "repeat with SOLMAR_RANDOM_SEED=" << seed_ << " SOLMAR_RANDOM_STEPS=" << step;
  }

  uint64_t seed_;
  std::mt19937_64 rng_;
  Window* window_ = nullptr;
  int messages_ = 0;
  std::string loadedSearch_;  // the stored pattern, as the start loaded it
  int dcsOut_ = 0;
  int bitmaps_ = 0;
  std::string detail_;
  std::deque<std::string> history_;
  std::string badDraw_;  // what was wrong with a drawn Find All row
  int rowsDrawn_ = 0;
};

// --- Actions ------------------------------------------------------------------------------

constexpr uint32_t kHandledKeys[] = {platform::kVkReturn, platform::kVkPrior, platform::kVkNext, platform::kVkEnd,
                                     platform::kVkHome,   platform::kVkLeft,  platform::kVkUp,   platform::kVkRight,
                                     platform::kVkDown};

// Coordinates around the client area, now and then far outside it.
int32_t AroundClient(RandomSession& s, int32_t extent) {
  if (s.OneIn(20)) return s.Between(0, 0xFFFF);
  return s.Between(-20, extent + 20);
}

void PressKey(RandomSession& s) {
  const uint32_t key = s.OneIn(8) ? uint32_t(s.Below(256)) : kHandledKeys[s.Below(9)];
  // Shift with Up or Down extends a selection; Escape clears it.
  const intptr_t shift = s.OneIn(4) ? platform::kKeyWithShift : 0;
  const uint32_t pressed = s.OneIn(12) ? platform::kVkEscape : key;
  s.Note(std::string(shift ? "shift+" : "") + "key " + std::to_string(pressed));
  s.Send(platform::kMsgKeyDown, pressed, shift);
}

void Tap(RandomSession& s) {
  const int32_t x = AroundClient(s, s.ClientWidth()), y = AroundClient(s, s.ClientHeight());
  // A mouse click or a stylus tap: a click on the inactive pane only picks it.
  const uint32_t from = s.OneIn(2) ? platform::kMkFromMouse : 0;
  s.Note(std::string(from ? "click " : "tap ") + std::to_string(x) + "," + std::to_string(y));
  s.Send(platform::kMsgLButtonDown, from, platform::MakeLong(uint32_t(x), uint32_t(y)));
  if (!from) return;
  // A mouse press ends in a release, sometimes after a drag that selects, sometimes followed
  // by a double or triple click that picks a word or a verse.
  if (s.OneIn(3)) {
    const int32_t tx = AroundClient(s, s.ClientWidth()), ty = AroundClient(s, s.ClientHeight());
    s.Note("drag to " + std::to_string(tx) + "," + std::to_string(ty));
    s.Send(platform::kMsgMouseMove, platform::kMkLButton, platform::MakeLong(uint32_t(tx), uint32_t(ty)));
  }
  s.Send(platform::kMsgLButtonUp, from, platform::MakeLong(uint32_t(x), uint32_t(y)));
  if (s.OneIn(4)) {
    const uint32_t count = s.OneIn(2) ? 2 : 3;
    s.Note("click count " + std::to_string(count));
    s.Send(platform::kMsgLButtonDblClk, uintptr_t(platform::MakeLong(from, count)),
           platform::MakeLong(uint32_t(x), uint32_t(y)));
    s.Send(platform::kMsgLButtonUp, from, platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
}

void Wheel(RandomSession& s) {
  static const int16_t kDeltas[] = {120, -120, 40, -40, 1, -1, 360, -360, 32767, -32768};
  const int16_t delta = kDeltas[s.Below(10)];
  const int32_t x = AroundClient(s, s.ClientWidth()), y = AroundClient(s, s.ClientHeight());
  // With Ctrl held the wheel sizes the text.
  const uint32_t keys = s.OneIn(5) ? platform::kMkControl : 0;
  s.Note(std::string(keys ? "ctrl+" : "") + "wheel " + std::to_string(delta) + " at " + std::to_string(x) + "," +
         std::to_string(y));
  s.Send(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(keys, uint16_t(delta))),
         platform::MakeLong(uint32_t(x), uint32_t(y)));
}

void ScrollBarCode(RandomSession& s) {
  Window* const bars[] = {gPaneState.upperScrollBar, gPaneState.lowerScrollBar, nullptr, s.MainWindow()};
  const int which = s.Below(4);
  const uint32_t code = uint32_t(s.Below(10));
  const int16_t position = s.OneIn(4) ? int16_t(s.Rng()()) : int16_t(s.Between(-2, 300));
  s.Note("scroll bar " + std::to_string(which) + " code " + std::to_string(code) + " position " +
         std::to_string(position));
  s.Send(platform::kMsgVScroll, uintptr_t(platform::MakeLong(code, uint16_t(position))), intptr_t(bars[which]));
}

void MenuCommand(RandomSession& s) {
  // Every command of the menus and buttons but Exit (the end of the run) and those with a
  // dialog or a question, which have actions of their own; without a script their dialog
  // cannot be made, which must change nothing. And some ids the reader does not know.
  static const uint16_t kCommands[] = {
      kCmdNextArticle,     kCmdPreviousArticle,    kCmdSearchAgain,    kCmdReverse,
      kCmdCheckForUpdates, kCmdLowerPaneNone,      kCmdLowerPaneHalf,  kCmdLowerPaneThird,
      kCmdLowerPaneQuarter, kCmdLowerPaneTwoThirds, kCmdLowerPaneThreeQuarters, kCmdIndex,
      kCmdIndexOld,        kCmdSearch,             kCmdFont,           kCmdAbout,
      kCmdMenuGo,          kCmdMenuQuelm,          kCmdFontLarger,     kCmdFontSmaller,
      kCmdFontChosenSize,  kCmdFindAll,            kCmdDarkColours,    kCmdGoToVerse,      0,
      402,                 435,                    40008,              0xFFFF};
  s.Command(kCommands[s.Below(int(sizeof kCommands / sizeof kCommands[0]))]);
}

void Resize(RandomSession& s) {
  int32_t w = s.Between(0, 1200), h = s.Between(0, 1200);
  if (s.OneIn(10)) w = s.OneIn(2) ? 0xFFFF : s.Between(0, 3);
  if (s.OneIn(10)) h = s.OneIn(2) ? 0xFFFF : s.Between(0, 3);
  if (s.OneIn(4)) {  // back to an ordinary size, so most steps happen where text shows
    w = 240;
    h = 350;
  }
  s.Note("size " + std::to_string(w) + " x " + std::to_string(h));
  s.Send(platform::kMsgSize, 0, platform::MakeLong(uint32_t(w), uint32_t(h)));
  // The platform paints after a size change.
  s.Send(platform::kMsgPaint, 0, 0);
}

void Paint(RandomSession& s) {
  s.Note("paint");
  s.Send(platform::kMsgPaint, 0, 0);
}

void OtherMessage(RandomSession& s) {
  switch (s.Below(4)) {
    case 0:
      s.Note("activate");
      s.Send(platform::kMsgActivate, uintptr_t(s.Below(3)), 0);
      return;
    case 1:
      s.Note("setting change");
      s.Send(platform::kMsgSettingChange, uintptr_t(s.Below(100)), 0);
      return;
    case 2: {
      // A position change the shell does not mean as a close.
      platform::WindowPosition position{};
      position.flags = uint32_t(s.Below(0x10000)) & ~platform::kSwpNoActivate;
      s.Note("position changed");
      s.Send(platform::kMsgWindowPositionChanged, 0, s.OneIn(2) ? intptr_t(&position) : 0);
      return;
    }
    default:
      s.Note("message " + std::to_string(2000));
      s.Send(2000, uintptr_t(s.Rng()()), intptr_t(s.Rng()()));
      return;
  }
}

void Bookmark(RandomSession& s) {
  static const int kAnswers[] = {platform::kIdYes, platform::kIdNo, platform::kIdCancel, fake::kDismissBox};
  const int answer = kAnswers[s.Below(4)];
  fake::ScriptMessageBoxAnswers({answer});
  s.Command(kCmdBookmark);
  s.Note("bookmark, answer " + std::to_string(answer));
}

// Copy or Append over what another program left on the clipboard: nothing, text, RTF or
// bytes of any kind.
void CopyOrAppend(RandomSession& s) {
  if (s.OneIn(2)) {
    const uint32_t format = s.OneIn(2) ? platform::kClipboardUnicodeText : platform::RegisterClipboardFormat(kRtfFormatName);
    std::vector<uint8_t> bytes = s.RandomBytes(s.Below(s.OneIn(10) ? 5000 : 64));
    if (s.OneIn(3) && !bytes.empty()) bytes.back() = 0;
    fake::PutClipboardContent(format, std::move(bytes));
  }
  s.Command(s.OneIn(2) ? kCmdCopy : kCmdAppend);
}

// Enter runs Search Again when there is a pattern.
void SearchAgainKey(RandomSession& s) {
  s.Note("Enter");
  s.Send(platform::kMsgKeyDown, platform::kVkReturn, 0);
}

fake::DialogStep EndDialogStep(RandomSession& s) {
  switch (s.Below(4)) {
    case 0: return fake::PressButton(platform::kIdCancel);
    case 1: return fake::SendToDialog(platform::kMsgKeyDown, platform::kVkEscape, 0);
    default: return fake::PressButton(platform::kIdOk);
  }
}

std::u16string RandomPattern(RandomSession& s) {
  std::u16string text;
  const int length = s.Between(0, 40);
  for (int i = 0; i < length; ++i) {
    const int kind = s.Below(20);
    if (kind == 0) text += u'*';
    else if (kind == 1) text += u'?';
    else if (kind == 2) text += u' ';
    else if (kind == 3) text += char16_t(s.Below(0x10000));  // anything, a lone surrogate too
    else text += char16_t(0x05D0 + s.Below(27));
  }
  return text;
}

void SearchDialog(RandomSession& s) {
  std::vector<fake::DialogStep> steps;
  const int n = s.Between(0, 4);
  for (int i = 0; i < n; ++i) {
    if (s.OneIn(2))
      steps.push_back(fake::TypeText(kSearchEditId, RandomPattern(s)));
    else
      steps.push_back(fake::TapDialog(s.Between(0, 360), s.Between(0, 360)));
  }
  // Its Find All button closes it and opens the list of every hit.
  if (s.OneIn(3))
    steps.push_back(fake::PressButton(kSearchFindAllId));
  else if (!s.OneIn(5))
    steps.push_back(EndDialogStep(s));
  fake::ScriptDialogSteps(kSearchDialogTemplate, std::move(steps), fake::ScriptEnd::kMayEndEarly);
  s.Command(kCmdSearch);
  s.Note("search dialog, " + std::to_string(n) + " inputs");
}

void IndexDialog(RandomSession& s) {
  std::vector<fake::DialogStep> steps;
  const int32_t w = s.Between(0, 500), h = s.Between(0, 500);
  steps.push_back(fake::SendToDialog(platform::kMsgSize, 0, platform::MakeLong(uint32_t(w), uint32_t(h))));
  const int n = s.Between(0, 5);
  for (int i = 0; i < n; ++i) {
    switch (s.Below(4)) {
      case 0:
        steps.push_back(fake::SendToDialog(platform::kMsgMouseWheel,
                                           uintptr_t(platform::MakeLong(0, uint16_t(s.OneIn(2) ? 120 : -120))),
                                           platform::MakeLong(uint32_t(s.Below(w + 1)), uint32_t(s.Below(h + 1)))));
        break;
      case 1:
        steps.push_back(fake::SendToDialog(platform::kMsgVScroll,
                                           uintptr_t(platform::MakeLong(uint32_t(s.Below(10)), uint16_t(s.Below(400)))),
                                           0));
        break;
      default:
        steps.push_back(fake::TapDialog(s.Between(-5, w + 5), s.Between(-5, h + 5)));
        break;
    }
  }
  if (!s.OneIn(4)) steps.push_back(EndDialogStep(s));
  fake::ScriptDialogSteps(kIndexDialogTemplate, std::move(steps), fake::ScriptEnd::kMayEndEarly);
  if (s.OneIn(4)) {
    // A second start while the reader is in front opens the index too.
    fake::SetForeground(s.MainWindow());
    s.Send(platform::kMsgSecondStart, 0, 0);
    fake::SetForeground(nullptr);
  } else {
    s.Command(s.OneIn(5) ? kCmdIndexOld : kCmdIndex);
  }
  s.Note("index dialog " + std::to_string(w) + " x " + std::to_string(h) + ", " + std::to_string(n) + " inputs");
}

void FontChooser(RandomSession& s) {
  std::vector<fake::DialogStep> steps;
  const int n = s.Between(0, 4);
  for (int i = 0; i < n; ++i) {
    switch (s.Below(3)) {
      case 0: steps.push_back(fake::SelectListItem(kFontListId, s.Below(6))); break;
      case 1: steps.push_back(fake::SelectListItem(kSizeListId, s.Below(30))); break;
      default: steps.push_back(fake::PressButton(s.OneIn(2) ? kBase224Id : kBase1488Id)); break;
    }
  }
  if (!s.OneIn(5)) steps.push_back(EndDialogStep(s));
  fake::ScriptDialogSteps(kFontChooserTemplate, std::move(steps), fake::ScriptEnd::kMayEndEarly);
  s.Command(kCmdFont);
  s.Note("font chooser, " + std::to_string(n) + " choices");
}

void AboutBox(RandomSession& s) {
  std::vector<fake::DialogStep> steps;
  if (s.OneIn(3)) steps.push_back(fake::TapDialog(s.Between(0, 300), s.Between(0, 300)));
  if (!s.OneIn(5)) steps.push_back(EndDialogStep(s));
  fake::ScriptDialogSteps(kAboutBoxTemplate, std::move(steps), fake::ScriptEnd::kMayEndEarly);
  if (s.OneIn(2))
    s.Command(kCmdAbout);
  else
    s.Send(platform::kMsgHelp, 0, 0);
  s.Note("About");
}

// The list of every hit: opened (or refreshed) by Shift+F3, then walked with the keys,
// Enter and double clicks, and now and then closed with Escape.
void FindAllList(RandomSession& s) {
  if (!gFindAll.dialog || s.OneIn(4)) {
    s.Command(kCmdFindAll);
    s.Note("find all");
    return;
  }
  platform::Window* list = platform::GetDialogItem(gFindAll.dialog, kFindAllListId);
  static const uint32_t kKeys[] = {platform::kVkUp,   platform::kVkDown, platform::kVkReturn, platform::kVkHome,
                                   platform::kVkEnd,  platform::kVkPrior, platform::kVkNext,  platform::kVkEscape};
  if (s.OneIn(3)) {
    // The rows the list would draw, around its selection, and a few outside it.
    const int selection = fake::ControlInfo(list) ? fake::ControlInfo(list)->selection : -1;
    const int first = std::max(-2, selection - s.Between(0, 12));
    s.Note("find all: rows drawn from " + std::to_string(first));
    for (int row = first; row < first + 14; ++row) s.DrawnRow(list, row);
  } else if (s.OneIn(3)) {
    const int row = s.Between(-2, int(gFindAll.hits.size()) + 2);
    s.Note("find all: double click on row " + std::to_string(row));
    fake::ResultListDoubleClick(list, row);
  } else {
    const uint32_t key = kKeys[s.Below(8)];
    s.Note("find all: key " + std::to_string(key));
    fake::ResultListKey(list, key);
  }
}

const Action kActions[] = {
    {"key", 24, PressKey},
    {"tap", 10, Tap},
    {"wheel", 8, Wheel},
    {"scroll bar", 12, ScrollBarCode},
    {"command", 12, MenuCommand},
    {"size", 3, Resize},
    {"paint", 3, Paint},
    {"other message", 2, OtherMessage},
    {"bookmark", 5, Bookmark},
    {"copy or append", 4, CopyOrAppend},
    {"search again key", 2, SearchAgainKey},
    {"search dialog", 2, SearchDialog},
    {"index dialog", 3, IndexDialog},
    {"font chooser", 2, FontChooser},
    {"about", 1, AboutBox},
    {"find all", 3, FindAllList},
};

const Action& PickAction(RandomSession& s) {
  static const int total = [] {
    int sum = 0;
    for (const Action& a : kActions) sum += a.weight;
    return sum;
  }();
  int r = s.Below(total);
  for (const Action& a : kActions) {
    if (r < a.weight) return a;
    r -= a.weight;
  }
  return kActions[0];
}

// --- Invariants ---------------------------------------------------------------------------

bool MenuChecked(platform::Menu* menu, uint16_t command) {
  for (const fake::FakeMenuItem& item : fake::MenuItems(menu))
    if (item.command == command) return item.mark.checked;
  return false;
}

// Blocks the reader may hold between two messages: two views with their texts and line
// tables, the bookmark list, the conversion buffer and a little slack. A block lost per
// step soon passes it; the exact count is checked at the end.
constexpr int kMaxLiveBlocks = 24;
// Fonts: the two views' font caches and the dialogs' own, with slack; 0 at the end.
constexpr int kMaxLiveFonts = 40;

// The decoded text of article n, as the book holds it.
const std::vector<uint8_t>& ArticleText(int n) {
  static std::map<int, std::vector<uint8_t>> texts;
  auto found = texts.find(n);
  if (found != texts.end()) return found->second;
  int reason = 0;
  uint32_t length = 0;
  uint8_t* text = LoadArticle(n, &reason, &length);
  std::vector<uint8_t> bytes;
  if (text) bytes.assign(text, text + length);
  platform::Free(text);
  return texts.emplace(n, std::move(bytes)).first->second;
}

// Empty when view holds article n's text; else what it shows instead.
std::string ShowsArticle(const PageView* view, int n) {
  const std::vector<uint8_t>& expected = ArticleText(n);
  if (expected.empty()) return "article " + std::to_string(n) + " does not load";
  if (!view->text) return "shows no text for article " + std::to_string(n);
  // The laid-out text: the article's bytes up to the end of its last record.
  if (view->textLength == 0 || view->textLength > expected.size() + 1 ||
      std::memcmp(view->text, expected.data(), std::min<size_t>(view->textLength, expected.size())) != 0)
    return "does not show article " + std::to_string(n);
  return {};
}

std::string RandomSession::Violation() const {
  const uint16_t lesson = gReaderSettings.lesson;
  if (lesson < 1 || lesson > kLastArticle || lesson % 2 == 0)
    return "the current article is " + std::to_string(lesson);
  const PaneState& panes = gPaneState;
  for (const PageView* view : {panes.upperView, panes.lowerView}) {
    if (!view) return "a pane has no view";
    // A page step from below maxTopRow may end past it, on a short last screen, but a row
    // of the text always shows: the top row lies within 0..maxTopRow or on a row of the text.
    if (view->topRow > view->maxTopRow && view->topRow >= view->totalRows)
      return std::string(view == panes.upperView ? "upper" : "lower") + " topRow " + std::to_string(view->topRow) +
             " past maxTopRow " + std::to_string(view->maxTopRow) + " and totalRows " +
             std::to_string(view->totalRows);
  }
  if (panes.activeView && panes.activeView != panes.upperView && panes.activeView != panes.lowerView)
    return "the active view is no pane's";
  if (panes.activeView == panes.lowerView && gReaderSettings.bottomSection == kCmdLowerPaneNone - kCmdLowerPaneBase)
    return "the hidden lower pane is the active one";
  // The panes show what the state says: the current article above, its commentary below.
  if (const std::string shown = ShowsArticle(panes.upperView, lesson); !shown.empty()) return "the upper pane " + shown;
  if (const std::string shown = ShowsArticle(panes.lowerView, lesson + 1); !shown.empty()) return "the lower pane " + shown;
  const bool lowerActive = panes.activeView == panes.lowerView;
  if (panes.activeScrollBar != (lowerActive ? panes.lowerScrollBar : panes.upperScrollBar))
    return "the active scroll bar is not the active pane's";

  int radios = 0;
  uint16_t radio = 0;
  for (const fake::FakeMenuItem& item : fake::MenuItems(LowerPaneSizeMenu()))
    if (item.mark.checked && item.command >= kCmdLowerPaneFirst && item.command <= kCmdLowerPaneLast) {
      ++radios;
      radio = item.command;
    }
  if (radios != 1 || radio != kCmdLowerPaneBase + gReaderSettings.bottomSection)
    return std::to_string(radios) + " radio marks, on " + std::to_string(radio) + ", for size code " +
           std::to_string(gReaderSettings.bottomSection);
  if (MenuChecked(ReaderMenu(), kCmdBookmark) != IsBookmarked()) return "the Bookmark mark does not match the list";
  if (MenuChecked(ReaderMenu(), kCmdReverse) != ((gReaderSettings.flags & kFlagReverse) != 0))
    return "the Reverse mark does not match Flags";
  if (MenuChecked(ReaderMenu(), kCmdDarkColours) != (gColourScheme->kind == ColourSchemeKind::kDark))
    return "the Dark Colours mark does not match the scheme shown";

  const fake::FakeWindowInfo* info = fake::WindowInfo(window_);
  if (!info || info->destroyed) return "the main window is gone";
  // The active pane is one the user can see on the window: its scroll bar is shown.
  const fake::FakeWindowInfo* bar = fake::WindowInfo(panes.activeScrollBar);
  if (!bar || bar->destroyed || !bar->visible)
    return std::string("the active pane's scroll bar is not on the window (") + (lowerActive ? "lower" : "upper") + ")";
  if (!badDraw_.empty()) return "a Find All row drawn wrong: " + badDraw_;
  if (!fake::QuitRequests().empty()) return "the reader asked to quit";
  // The bookmark question, a search that finds nothing and the search dialog's refusal of
  // text it cannot search for are the only boxes of ordinary use; "Resource not found", an
  // overflow or "not enough memory" would be faults.
  for (const fake::RecordedMessageBox& box : fake::MessageBoxes())
    if (box.text != u"Remove Bookmark?\n\nCancel - Don't ask again" && box.text != u"Not Found!" &&
        box.text.rfind(u"The book's text cannot hold \"", 0) != 0 &&
        box.text != u"The search text is longer than 33 characters.")
      return "a message box: " + std::string(box.text.begin(), box.text.end());

  if (fake::LiveBlocks() > kMaxLiveBlocks) return std::to_string(fake::LiveBlocks()) + " heap blocks live";
  if (fake::LivePens() != 0 || fake::LiveBrushes() != 0) return "a pen or brush outlived its message";
  if (fake::LiveFonts() > kMaxLiveFonts) return std::to_string(fake::LiveFonts()) + " fonts live";
  if (fake::WindowDcsOut() != dcsOut_) return "drawing contexts taken and not given back";
  if (fake::LiveLoadedBitmaps() != bitmaps_) return "pictures loaded and not released";
  if (fake::OpenSettingsKeys() != 0) return "a settings key left open";
  if (fake::ClipboardIsOpen() || fake::LiveClipboardBlocks() != 0) return "the clipboard left open or a block held";
  return {};
}

bool RandomSession::Run(int steps) {
  for (int step = 1; step <= steps; ++step) {
    const Action& action = PickAction(*this);
    detail_ = action.name;
    action.run(*this);
    history_.push_back(std::to_string(step) + ": " + detail_);
    if (history_.size() > 12) history_.pop_front();
    const std::string broken = Violation();
    if (!broken.empty()) {
      Fail(step, broken);
      return false;
    }
    if (step % 64 == 0) fake::TrimRecords();
  }
  return true;
}

bool RandomSession::Finish() {
  // The run ends in a window of an ordinary size, which the next start opens with again:
  // the same size lays the articles out in the same rows.
  Send(platform::kMsgSize, 0, platform::MakeLong(240, 350));
  Send(platform::kMsgPaint, 0, 0);
  SavedState before = CurrentState();
  // An empty pattern is not written: the one stored before the run comes back.
  if (before.searchString.empty()) before.searchString = loadedSearch_;
  const size_t writesBefore = fake::SettingWrites().size();
  const int batchesBefore = fake::SettingsBatchesEnded();
  Command(kCmdExit);
  bool ok = true;
  auto check = [&](bool condition, const std::string& what) {
    if (!condition) {
      ADD_FAILURE() << "random use, seed " << seed_ << ", at the end: " << what << "\nlast actions:\n" << History();
      ok = false;
    }
  };
  check(fake::QuitRequests() == std::vector<int>{0}, "Exit asks the loop to end once, with 0");
  std::map<std::u16string, int> writes;
  std::map<std::u16string, fake::StoredSetting> saved;
  for (size_t i = writesBefore; i < fake::SettingWrites().size(); ++i) {
    ++writes[fake::SettingWrites()[i].name];
    saved[fake::SettingWrites()[i].name] = fake::SettingWrites()[i].value;
  }
  for (const auto& [name, count] : writes) check(count == 1, "a value is written more than once");
  check(fake::SettingsBatchesEnded() == batchesBefore + 1 && fake::SettingsBatchesBegun() == batchesBefore + 1,
        "Exit writes in one batch");
  for (size_t i = writesBefore; i < fake::SettingWrites().size(); ++i)
    check(fake::SettingWrites()[i].batch == batchesBefore + 1, "a value written outside the batch");
  check(writes.count(u"Flags") == 1 && writes.count(u"Bookmarks") == 1, "Exit writes the settings");
  // The shared conversion buffer lives as long as the process; everything else is gone.
  ResetConversionBuffer();
  check(fake::LiveBlocks() == 0, std::to_string(fake::LiveBlocks()) + " heap blocks left after Exit");

  // A new start from what was saved, at the last size: the same state.
  fake::ResetWindows();
  fake::ResetShell();
  fake::ResetMessageBoxes();
  ResetShellState();
  ResetReaderSettings();
  ResetBookmarks();
  ResetSettingsState();
  fake::SetDefaultWindowSize(240, 350);
  LoadDeviceOptions();
  window_ = StartReader(platform::kSwShowNormal, 0);
  check(window_ != nullptr, "the reader starts again");
  if (!window_) return false;
  const SavedState after = CurrentState();
  check(after == before, "saved: " + before.Describe() + "; loaded: " + after.Describe());
  check(fake::MessageBoxes().empty(), "the new start shows a message box");
  const size_t writesAgain = fake::SettingWrites().size();
  Command(kCmdExit);
  std::map<std::u16string, fake::StoredSetting> savedAgain;
  for (size_t i = writesAgain; i < fake::SettingWrites().size(); ++i)
    savedAgain[fake::SettingWrites()[i].name] = fake::SettingWrites()[i].value;
  for (const auto& [name, value] : saved) {
    const auto it = savedAgain.find(name);
    check(it != savedAgain.end() && it->second.type == value.type && it->second.data == value.data,
          "the second Exit writes " + std::string(name.begin(), name.end()) + " as the first did");
  }
  ResetConversionBuffer();
  check(fake::LiveBlocks() == 0, "heap blocks left after the second Exit");
  check(fake::LiveFonts() == 0 && fake::LivePens() == 0 && fake::LiveBrushes() == 0, "drawing objects left");
  check(fake::LiveLoadedBitmaps() == 0, "pictures left loaded");
  return ok;
}

TEST(RandomUseTest, TheReaderKeepsItsInvariantsThroughRandomUse) {
  const uint64_t firstSeed = EnvNumber("SOLMAR_RANDOM_SEED", 1);
  const int steps = int(EnvNumber("SOLMAR_RANDOM_STEPS", 1500));
  const uint64_t seconds = EnvNumber("SOLMAR_RANDOM_SECONDS", 0);
  const int sessionCount = int(EnvNumber("SOLMAR_RANDOM_SESSIONS", 1));
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };

  uint64_t seed = firstSeed;
  long long totalSteps = 0, totalMessages = 0, totalRows = 0;
  int sessions = 0;
  do {
    // Named before it runs, so that a crash (a sanitizer's report) still tells the seed.
    std::fprintf(stderr, "random use: session with SOLMAR_RANDOM_SEED=%llu\n", static_cast<unsigned long long>(seed));
    RandomSession session(seed);
    ASSERT_TRUE(session.Start()) << "seed " << seed << ": the reader does not start";
    const bool ran = session.Run(steps);
    totalMessages += session.Messages();
    totalRows += session.RowsDrawn();
    if (!ran) break;
    totalSteps += steps;
    ++sessions;
    if (!session.Finish()) break;
    ++seed;
  } while (sessions < sessionCount || (seconds > 0 && elapsed() < double(seconds)));
  std::printf("random use: %d sessions (seeds %llu..%llu), %lld steps, %lld messages, %lld Find All rows drawn, "
              "%.1f s\n",
              sessions, static_cast<unsigned long long>(firstSeed), static_cast<unsigned long long>(seed - 1),
              totalSteps, totalMessages, totalRows, elapsed());
}

}  // namespace
