// Going to a verse: the "Go to Verse" box (template 126: the reference's edit box, the
// line saying what is wrong with it, the Hebrew keyboard picture), `solmar --goto` and a running
// reader asked by a later start. The verses' page becomes current, the upper pane active,
// the first verse's first row comes into view and the verses are selected.
#pragma once

#include "platform/ui_text.h"
#include <cstdint>
#include <string>
#include <string_view>

#include "content/verse_reference.h"
#include "platform/platform.h"

constexpr uint32_t kGoToVerseDialogTemplate = 126;
constexpr int kGoToVerseEditId = 1001;
constexpr int kGoToVerseMessageId = 1002;
// The caption of the box and of its messages.
constexpr const char16_t* kGoToVerseCaption = SOLMAR_TEXT("MessageBox", "Go to Verse");

// Shows the verses of range on the first verse's page; a range that goes on past that page
// is selected up to the page's last verse. 1 when shown; 0 (nothing changes) when the
// verse is not in the book's map or its page cannot be loaded.
int ShowVerses(platform::Window* mainWindow, const VerseRange& range);
// Reads typed as a reference and shows it. 1 when shown; 0 with *message (when given)
// saying what is wrong.
int GoToTypedReference(platform::Window* mainWindow, std::u16string_view typed, std::u16string* message);
// A later start's reference: shown, and the reader comes to the front; a bad one is
// answered with a message box over the reader.
void OnGoToRequest(platform::Window* mainWindow, const char16_t* typed);

intptr_t GoToVerseDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
// A press at client pixels x, y of the box: on a key of the keyboard picture it puts the
// key's Hebrew letter (the space bar: a space) in place of the edit box's selection, the
// caret after it, and answers 0; elsewhere 1, and nothing changes.
int GoToVerseKeyboardTap(platform::Window* dialog, int32_t x, int32_t y);
// Runs the box modally over mainWindow: kIdOk when it went to a verse, kIdCancel otherwise.
intptr_t OpenGoToVerseDialog(platform::Window* mainWindow);
