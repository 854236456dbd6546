// What every dialog of the reader runs when it opens: the full-screen set-up, and on the
// desktop the size and place of the dialogs the user can resize.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Set-up with flags 30: sized to the screen, the Done button unless FullScreen is set,
// and in full-screen mode moved to the top.
void SetUpDialog(platform::Window* dialog, uint32_t flags);

// The dialogs that hold lists: the user can resize them, and each keeps its size in a
// setting of its own ("width,height" in pixels, like WindowGeometry).
enum class DialogSizeSlot { kFontChooser, kChooseSection, kFindAll };
inline constexpr int kDialogSizeSlots = 3;
// The setting that keeps the slot's size.
const char16_t* DialogSizeSettingName(DialogSizeSlot slot);

// On the desktop (FullScreen not set): gives dialog the size it had when last closed (none
// stored or unusable: its template's), centred over its owner and resizable. In full-screen
// mode nothing: SetUpDialog has made it cover the screen.
void PlaceResizableDialog(platform::Window* dialog, DialogSizeSlot slot);
// On the desktop: takes the dialog's size as the one to open it with next time and to
// store at shutdown. Call it while the dialog still exists (its destroy message).
void RememberDialogSize(platform::Window* dialog, DialogSizeSlot slot);
// Reads the stored sizes; an unusable one is none.
void LoadDialogSizes();
// Writes every size there is (read at start-up or taken since); a dialog without one keeps
// whatever the store holds.
void SaveDialogSizes();

// "width,height": two decimal numbers 1..100000 and nothing else; false otherwise.
bool ParseDialogSize(const char16_t* text, int32_t* width, int32_t* height);
