// Marking the texts the user sees for translation.
//
// A text is written once, in English, where it is used, wrapped in SOLMAR_TEXT with the
// name of the place it is shown in:
//
//   {kCmdAbout, SOLMAR_TEXT("Menu", "&About")}
//
// The macro only turns the literal into a UTF-16 one; it is also what the translation
// tools read (lupdate is run with -tr-function-alias QT_TRANSLATE_NOOP+=SOLMAR_TEXT), so
// every marked text lands in the translation files under its context. The backend that
// shows the text looks its translation up with the same context:
//
//   "Menu"           menu titles and items (the shortcut after the 0x08 unit included)
//   "ToolBar"        tool-bar tips, which are also the buttons' accessible names
//   "Dialog"         dialog captions, the texts of their controls, column titles
//   "MessageBox"     message-box texts and captions
//   "FindAll"        the Find All list's cells and the words of its caption
//   "Accessibility"  names that only assistive technology speaks
//   "CommandLine"    what solmar prints: --help and its messages on standard error
//
// Texts the core puts together from pieces at run time ask for each piece with
// platform::TranslateText and the same context. Text that is not marked (numbers, the
// book's own Hebrew, names of fonts) is shown as it is.
#pragma once

#define SOLMAR_TEXT(context, text) u"" text
