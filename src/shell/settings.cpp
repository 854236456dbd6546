#include "shell/settings.h"

#include <cstddef>
#include <string_view>

#include "content/article.h"
#include "platform/platform.h"
#include "shell/bookmarks.h"
#include "shell/colour_scheme_choice.h"
#include "shell/command_ids.h"
#include "shell/dialog_setup.h"
#include "shell/reader_settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "shell/window_geometry.h"
#include "view/page_view.h"

namespace {

// Where the store is in the run. Values are written only in kLoaded: before and during
// the load memory does not hold the user's state yet, and after the first save the
// stored values are already the run's own.
enum class StoreState { kNotLoaded, kLoading, kLoaded, kShutDown };
StoreState gStoreState = StoreState::kNotLoaded;

constexpr uint32_t kProgramPathCapacity = 260;  // UTF-16 units with the 0

// How a setting is stored and where its value lives in ReaderSettings.
enum class SettingKind {
  kNumber,      // int32_t or uint32_t field, a number value
  kShortNumber, // uint16_t field, a number value kept to 16 bits
  kFaceName,    // FontSpec face name, a string value cut to 31 units
  kByteString,  // search string, 0-terminated letter code stored as raw bytes
  kSchemeName,  // int32_t colour scheme setting, stored as its name ("light", "dark")
};

// When the shutdown save writes a setting.
enum class WrittenWhen {
  kAlways,
  kNotEmpty,         // the number is not 0, or the text does not start with a 0
  kUpperPaneTopRow,  // the upper pane's top row, when there is an upper pane
  kLowerPaneTopRow,  // the lower pane's top row, when there is a lower pane
};

struct SettingDeclaration {
  const char16_t* name;
  void* (*field)(ReaderSettings&);
  SettingKind kind;
  int32_t defaultValue;  // numbers: when the value is missing; text: the field stays as it is
  WrittenWhen when;
};

// Every per-product setting, in the order the shutdown save writes them ("Bookmarks" is
// the bookmark list's own and follows them).
constexpr SettingDeclaration kSettings[] = {
    {u"SearchString", [](ReaderSettings& s) -> void* { return s.searchString; }, SettingKind::kByteString, 0,
     WrittenWhen::kNotEmpty},
    {u"FontName", [](ReaderSettings& s) -> void* { return s.fontSpec.faceName; }, SettingKind::kFaceName, 0,
     WrittenWhen::kNotEmpty},
    {u"FontSize", [](ReaderSettings& s) -> void* { return &s.fontSpec.size; }, SettingKind::kNumber, 0,
     WrittenWhen::kNotEmpty},
    {u"FontAsciiBase", [](ReaderSettings& s) -> void* { return &s.fontSpec.fontAsciiBase; }, SettingKind::kNumber,
     1488, WrittenWhen::kNotEmpty},
    {u"LastPosition", [](ReaderSettings& s) -> void* { return &s.lastPosition; }, SettingKind::kShortNumber, 0,
     WrittenWhen::kUpperPaneTopRow},
    {u"Flags", [](ReaderSettings& s) -> void* { return &s.flags; }, SettingKind::kNumber, int32_t(kDefaultFlags),
     WrittenWhen::kAlways},
    {u"Lesson", [](ReaderSettings& s) -> void* { return &s.lesson; }, SettingKind::kShortNumber, 0,
     WrittenWhen::kNotEmpty},
    {u"BottomSection", [](ReaderSettings& s) -> void* { return &s.bottomSection; }, SettingKind::kNumber, 12,
     WrittenWhen::kAlways},
    {u"BottomSectionLastPosition", [](ReaderSettings& s) -> void* { return &s.bottomSectionLastPosition; },
     SettingKind::kShortNumber, 0, WrittenWhen::kLowerPaneTopRow},
    // Written once the user has chosen a scheme; the desktop's (0) is not.
    {u"ColorScheme", [](ReaderSettings& s) -> void* { return &s.colourScheme; }, SettingKind::kSchemeName,
     kColourSchemeSystem, WrittenWhen::kNotEmpty},
};

static_assert(sizeof(ReaderSettings{}.flags) == sizeof(int32_t) && sizeof(ReaderSettings{}.bottomSection) == 4 &&
              sizeof(ReaderSettings{}.fontSpec.size) == 4 && sizeof(ReaderSettings{}.fontSpec.fontAsciiBase) == 4,
              "kNumber fields are 32 bits wide");

constexpr size_t kFaceNameUnits = sizeof(FontSpec{}.faceName) / sizeof(char16_t);

void LoadSetting(const SettingDeclaration& d, ReaderSettings& s) {
  void* field = d.field(s);
  switch (d.kind) {
    case SettingKind::kNumber:
      *static_cast<int32_t*>(field) = ReadNumberSetting(d.name, d.defaultValue);
      return;
    case SettingKind::kShortNumber:
      *static_cast<uint16_t*>(field) = uint16_t(ReadNumberSetting(d.name, d.defaultValue));
      return;
    case SettingKind::kFaceName: {
      char16_t* face = ReadStringSetting(d.name);
      if (!face) return;
      // An empty stored name keeps the one in memory.
      if (face[0] != 0) {
        auto* out = static_cast<char16_t*>(field);
        size_t n = 0;
        for (; n < kFaceNameUnits - 1 && face[n] != 0; ++n) out[n] = face[n];
        out[n] = 0;
      }
      platform::Free(face);
      return;
    }
    case SettingKind::kByteString:
      ReadByteStringSetting(d.name, static_cast<uint8_t*>(field), kSearchStringSize);
      return;
    case SettingKind::kSchemeName: {
      char16_t* name = ReadStringSetting(d.name);
      *static_cast<int32_t*>(field) = name ? ColourSchemeSettingFromText(name) : d.defaultValue;
      platform::Free(name);
      return;
    }
  }
}

// The top row a pane setting saves, or none when its pane is gone.
const PageView* SavedPane(WrittenWhen when) {
  return when == WrittenWhen::kUpperPaneTopRow ? gPaneState.upperView : gPaneState.lowerView;
}

void SaveSetting(const SettingDeclaration& d, ReaderSettings& s) {
  void* field = d.field(s);
  if (d.when == WrittenWhen::kUpperPaneTopRow || d.when == WrittenWhen::kLowerPaneTopRow) {
    if (const PageView* pane = SavedPane(d.when)) WriteNumberSetting(d.name, pane->topRow);
    return;
  }
  const bool always = d.when == WrittenWhen::kAlways;
  switch (d.kind) {
    case SettingKind::kNumber: {
      const int32_t value = *static_cast<const int32_t*>(field);
      if (always || value != 0) WriteNumberSetting(d.name, value);
      return;
    }
    case SettingKind::kShortNumber: {
      const uint16_t value = *static_cast<const uint16_t*>(field);
      if (always || value != 0) WriteNumberSetting(d.name, value);
      return;
    }
    case SettingKind::kFaceName: {
      const auto* text = static_cast<const char16_t*>(field);
      if (always || text[0] != 0) WriteStringSetting(d.name, text);
      return;
    }
    case SettingKind::kByteString: {
      const auto* text = static_cast<const uint8_t*>(field);
      if (always || text[0] != 0) WriteByteStringSetting(d.name, text);
      return;
    }
    case SettingKind::kSchemeName: {
      const int32_t value = *static_cast<const int32_t*>(field);
      if (always || value != kColourSchemeSystem) WriteStringSetting(d.name, ColourSchemeSettingText(value));
      return;
    }
  }
}

// The page a stored Lesson opens. The reader stores only odd page numbers 1..285, but a
// hand-edited or foreign value may name a commentary, a number past the last page or read
// as any number from text: that opens the page at or before it, the last page at most, so
// the panes get an article they can load. 0 stays 0 (no article stored).
uint16_t StoredLessonPage(uint16_t lesson) {
  if (lesson > kLastPage) return kLastPage;
  if (lesson % 2 == 0 && lesson != 0) return uint16_t(lesson - 1);
  return lesson;
}

// Destroys a pane's view with its record and forgets it, also as the active view.
void DestroyPaneView(PageView*& view) {
  if (gPaneState.activeView == view) gPaneState.activeView = nullptr;
  PageViewDestroy(view, true);
  view = nullptr;
}

}  // namespace

void LoadDeviceOptions() {
  gDeviceOptions.ignoreActivate = ReadDeviceOption(u"IgnoreActivate", 0);
  gDeviceOptions.fullScreen = ReadDeviceOption(u"FullScreen", 0);
  gDeviceOptions.allowSipInHebrewSearch = ReadDeviceOption(u"AllowSipInHebrewSearch", 1);
  gDeviceOptions.menuBarOnBottom = ReadDeviceOption(u"MenuBarOnBottom", 0);
  // The gutter is laid out as 2 * g and subtracted from the window's sides: a negative one
  // would push the panes out of the window, a huge one overflow. No screen needs more
  // than 0x3FFF pixels of margin.
  constexpr int32_t kMaxGutter = 0x3FFF;
  const int32_t gutter = ReadDeviceOption(u"SurroundingGutter", 0);
  gDeviceOptions.surroundingGutter = gutter < 0 ? 0 : gutter > kMaxGutter ? kMaxGutter : gutter;
}

bool LoadSettings() {
  gStoreState = StoreState::kLoading;

  // The same path as last time is not written again: a start then writes nothing at all,
  // and waits for no disk.
  char16_t path[kProgramPathCapacity] = {};
  if (platform::GetProgramPath(path, kProgramPathCapacity) > 0 && path[0] != 0) {
    char16_t* stored = ReadStringSetting(u"Program Path");
    if (!stored || std::u16string_view(stored) != std::u16string_view(path)) WriteStringSetting(u"Program Path", path);
    if (stored) platform::Free(stored);
  }

  for (const SettingDeclaration& setting : kSettings) LoadSetting(setting, gReaderSettings);
  LoadDialogSizes();
  const uint16_t page = StoredLessonPage(gReaderSettings.lesson);
  if (page != gReaderSettings.lesson) {
    // The stored position belongs to another article: the page opens at its top.
    gReaderSettings.lesson = page;
    gReaderSettings.lastPosition = 0;
  }
  // An abort has shut the store down and released what it holds: nothing more is loaded.
  if (gStoreState != StoreState::kLoading) return false;
  // The scheme is chosen before anything is drawn, the tree's pictures included.
  ApplyColourScheme();
  for (int i = 0; i < 3; ++i) gIndexBitmaps.bitmaps[i] = platform::LoadBitmap(kBitmapIndexFirst + uint32_t(i));
  LoadBookmarks();
  // An out-of-memory abort during the load has already shut the store down.
  if (gStoreState != StoreState::kLoading) return false;
  gStoreState = StoreState::kLoaded;
  return true;
}

void SelectArticle(uint16_t n) {
  uint16_t candidate = n;
  if (n == 0) {
    if (gReaderSettings.lesson != 0) return;
    candidate = 1;
  } else if (gReaderSettings.lesson == n) {
    return;
  }
  gReaderSettings.lesson = candidate;
  gReaderSettings.lastPosition = 0;
}

void SaveSettingsAndQuit() {
  const bool write = gStoreState == StoreState::kLoaded;
  gStoreState = StoreState::kShutDown;

  for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
    if (bitmap) platform::DeleteBitmap(bitmap);
    bitmap = nullptr;
  }
  // The values go to the store as one change: a reader killed while it saves leaves the
  // settings of the last run whole, not some of this run's values among them.
  if (write) {
    platform::BeginSettingsBatch();
    for (const SettingDeclaration& setting : kSettings) SaveSetting(setting, gReaderSettings);
    SaveWindowGeometry(gShellWindows.mainWindow);
    SaveDialogSizes();
  }
  if (gPaneState.upperView) DestroyPaneView(gPaneState.upperView);
  if (gPaneState.lowerView) DestroyPaneView(gPaneState.lowerView);
  if (write) {
    SaveBookmarks();
    platform::EndSettingsBatch();
  }
  FreeBookmarks();
  platform::PostQuitMessage(0);
}

void ResetSettingsState() { gStoreState = StoreState::kNotLoaded; }
