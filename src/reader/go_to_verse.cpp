// The "Go to Verse" box and showing verses in the upper pane, selected.
#include "reader/go_to_verse.h"

#include "platform/ui_text.h"
#include <vector>

#include "content/verse_map.h"
#include "platform/dialog_template.h"
#include "search/hebrew_keyboard.h"
#include "shell/menu_marks.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

// Units the box takes: far more than any reference.
constexpr uint32_t kReferenceCapacity = 200;

// Where the box's template puts the keyboard picture, in dialog units; false when it has none.
bool KeyboardPlace(int32_t* left, int32_t* top) {
  const platform::DialogTemplate* t = platform::FindDialogTemplate(kGoToVerseDialogTemplate);
  for (size_t i = 0; t && i < t->controlCount; ++i)
    if (t->controls[i].kind == platform::ControlKind::kPicture) {
      *left = t->controls[i].x;
      *top = t->controls[i].y;
      return true;
    }
  return false;
}

}  // namespace

int GoToVerseKeyboardTap(platform::Window* dialog, int32_t x, int32_t y) {
  int32_t left = 0, top = 0;
  if (!KeyboardPlace(&left, &top)) return 1;
  const int position = KeyboardKeyAt(x, y, left, top, platform::GetDialogBaseUnits());
  platform::Window* edit = platform::GetDialogItem(dialog, kGoToVerseEditId);
  if (position < 0 || !edit) return 1;
  // The box holds the reference in reading order, as it is typed: the letter goes in place
  // of the selection and the caret after it.
  const char16_t text[2] = {KeyboardUnicodeCharacter(position), 0};
  platform::EditReplaceSelection(edit, text, true);
  platform::SetFocus(edit);
  return 0;
}

int ShowVerses(platform::Window* mainWindow, const VerseRange& range) {
  const VerseMap& map = BookVerseMap();
  const VersePlace* first = FindVerse(map, range.first);
  if (!first) return 0;
  // The last verse of the range on the first verse's page.
  const VersePlace* last = first;
  for (const VersePlace* place = first; place < map.verses.data() + map.verses.size(); ++place) {
    if (place->article != first->article || VerseBefore(range.last, place->key)) break;
    last = place;
  }
  if (first->article != gReaderSettings.lesson && GoToArticle(mainWindow, first->article) != 0) return 0;
  PaneState& panes = gPaneState;
  PageView* view = panes.upperView;
  if (!view || !view->text || first->article != gReaderSettings.lesson) return 0;
  panes.activeView = view;
  panes.activeScrollBar = panes.upperScrollBar;
  // A record's first key is its first character read, the last key of the last record
  // (just before its 0) its last.
  const uint16_t firstKey = uint16_t(first->firstRecord + 2);
  const uint16_t lastKey = uint16_t(last->endRecord - 2);
  PageViewSelect(view, firstKey, lastKey);
  PageViewScrollToOffset(view, PageViewStoredOffset(view, firstKey));
  RepaintPanes(mainWindow, kRepaintAll);
  SyncScrollBars();
  RefreshBookmarkCheck();
  return 1;
}

int GoToTypedReference(platform::Window* mainWindow, std::u16string_view typed, std::u16string* message) {
  const VerseMap& map = BookVerseMap();
  const ReferenceResult result = ParseTypedReference(typed, map);
  if (result.error != ReferenceError::kNone) {
    if (message) *message = ReferenceErrorMessage(result, map);
    return 0;
  }
  if (ShowVerses(mainWindow, result.range) == 1) return 1;
  if (message) *message = platform::TranslateText("Dialog", SOLMAR_TEXT("Dialog", "The page of this verse cannot be shown."));
  return 0;
}

void OnGoToRequest(platform::Window* mainWindow, const char16_t* typed) {
  std::u16string message;
  if (GoToTypedReference(mainWindow, typed ? typed : u"", &message) != 1)
    platform::MessageBox(mainWindow, message.c_str(), kGoToVerseCaption, platform::kMbOk | platform::kMbIconWarning);
  platform::SetForegroundWindow(mainWindow);
}

intptr_t GoToVerseDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      platform::SetFocus(platform::GetDialogItem(dialog, kGoToVerseEditId));
      return 0;
    case platform::kMsgCommand:
      switch (platform::LowWord(wParam)) {
        case platform::kIdOk: {
          platform::Window* edit = platform::GetDialogItem(dialog, kGoToVerseEditId);
          std::vector<char16_t> text(kReferenceCapacity + 1, 0);
          const uint32_t length = platform::GetWindowText(edit, text.data(), kReferenceCapacity + 1);
          std::u16string problem;
          if (GoToTypedReference(platform::GetParent(dialog), std::u16string_view(text.data(), length), &problem) ==
              1) {
            platform::EndDialog(dialog, platform::kIdOk);
          } else {
            // The box stays with the reference in it, the message under it saying what is wrong.
            platform::SetWindowText(platform::GetDialogItem(dialog, kGoToVerseMessageId), problem.c_str());
            platform::SetFocus(edit);
            platform::EditSetSelection(edit, 0, -1);
          }
          return 1;
        }
        case platform::kIdCancel:
          platform::EndDialog(dialog, platform::kIdCancel);
          return 1;
        default:
          return 0;
      }
    case platform::kMsgLButtonDown:
      return GoToVerseKeyboardTap(dialog, int16_t(platform::LowWord(uintptr_t(lParam))),
                                  int16_t(platform::HighWord(uintptr_t(lParam))));
    default:
      return 0;
  }
}

intptr_t OpenGoToVerseDialog(platform::Window* mainWindow) {
  return platform::DialogBox(kGoToVerseDialogTemplate, mainWindow, GoToVerseDialogProc, 0);
}
