#include "shell/colour_scheme_choice.h"

#include "shell/command_ids.h"
#include "shell/reader_menus.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

// Whether text, without spaces around it, is word in any case (word is lower-case ASCII).
bool NamesWord(const char16_t* text, const char16_t* word) {
  while (*text == u' ' || *text == u'\t') ++text;
  for (; *word; ++text, ++word) {
    char16_t c = *text;
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    if (c != *word) return false;
  }
  while (*text == u' ' || *text == u'\t') ++text;
  return *text == 0;
}

}  // namespace

int32_t ColourSchemeSettingFromText(const char16_t* text) {
  if (!text) return kColourSchemeSystem;
  if (NamesWord(text, u"light")) return kColourSchemeLight;
  if (NamesWord(text, u"dark")) return kColourSchemeDark;
  return kColourSchemeSystem;
}

const char16_t* ColourSchemeSettingText(int32_t setting) {
  if (setting == kColourSchemeLight) return u"light";
  if (setting == kColourSchemeDark) return u"dark";
  return u"system";
}

ColourSchemeKind ShownColourScheme(int32_t setting) {
  if (setting == kColourSchemeLight) return ColourSchemeKind::kLight;
  if (setting == kColourSchemeDark) return ColourSchemeKind::kDark;
  return platform::DesktopPrefersDark() ? ColourSchemeKind::kDark : ColourSchemeKind::kLight;
}

void ApplyColourScheme() {
  const ColourScheme& scheme = ColourSchemeOf(ShownColourScheme(gReaderSettings.colourScheme));
  gColourScheme = &scheme;
  platform::SetChromeColours(scheme.chrome);
  // The tree's glyphs are pictures drawn in the scheme's colours when they are loaded.
  for (int i = 0; i < 3; ++i) {
    platform::Bitmap*& bitmap = gIndexBitmaps.bitmaps[i];
    if (!bitmap) continue;
    platform::DeleteBitmap(bitmap);
    bitmap = platform::LoadBitmap(kBitmapIndexFirst + uint32_t(i));
  }
  ShowColourSchemeInWindow();
}

void ShowColourSchemeInWindow() {
  // The upper pane draws its text opaque, on the page's ground (both panes share the one
  // context of the main window).
  if (gPaneState.upperView && gPaneState.upperView->dc)
    platform::SetBackgroundColour(gPaneState.upperView->dc, gColourScheme->pageGround);
  platform::CheckMenuItem(ReaderMenu(), kCmdDarkColours, gColourScheme->kind == ColourSchemeKind::kDark);
}
