// Internal to the Qt backend and the program's start: the interface's language.
//
// The translations are compiled into the program (":/i18n/solmar_<language>.qm"). English
// is the language the texts are written in and needs none. A Hebrew interface is laid out
// right to left.
#pragma once

#include <QString>

namespace platform::qt {

// The languages the interface speaks, by code: "en", "he".
bool IsInterfaceLanguage(const QString& code);
// The first language of the desktop's list (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as Qt
// reads them) that the interface speaks; "en" when none is.
QString DesktopLanguage();
// The interface's language for a run: code given on the command line, else the stored
// choice, else the desktop's. An empty or unknown code counts as none given.
QString ChooseLanguage(const QString& commandLine, const QString& stored);
// Makes code the interface's language for the rest of the run: its translation installed
// (the application object must exist) and the layout direction set. False, with the
// interface left in English, for a code the interface does not speak or a translation
// that cannot be loaded.
bool UseLanguage(const QString& code);
// The translation of a text marked with SOLMAR_TEXT (platform/ui_text.h) in context; the
// text itself when there is none. None stays empty.
QString Translated(const char* context, const char16_t* text);
// The same for a text in code's language without installing anything (for --help, which
// runs without an application object); text itself for English or an unknown code.
QString TranslatedFor(const QString& code, const char* context, const char* text);

}  // namespace platform::qt
