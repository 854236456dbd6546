// The program's front end, shared by `solmar` and the end-to-end harness.
#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>

// The whole program: the command line, then the reader, the off-screen renderer or a
// request to a running reader. Answers the exit code.
int SolmarMain(int argc, char** argv);

// Writes "solmar: MESSAGE" and a line end to standard error. The message is text (marked
// with QT_TRANSLATE_NOOP("CommandLine", ...)) in the command line's language, that of
// --lang, else the desktop's, with %1, %2, ... replaced by args byte for byte; the program's
// and the options' names stay Latin in every language.
void PrintMessage(const char* text, std::initializer_list<std::string_view> args = {});

// The command line's language (see PrintMessage): "he" or "en".
QString CommandLineLanguage();

// Application set-up every reader process does once its QApplication exists: names and
// the book carried in the program.
void PrepareReaderApplication();

// Makes the interface speak the language of --lang (none: not given), else the one stored
// in the reader (setting "Language") when readStored is set, else the desktop's. Needs the
// QApplication.
void ApplyInterfaceLanguage(const char* commandLine, bool readStored);

// solmar --pdf FILE [--pages A-B] [--paper a4|letter] (pdf_cli.cpp): the book's pages as
// printed, written to a PDF file without a window. Exit codes: 0 written; 1 the file cannot
// be written (or the pages could not be drawn); 2 a bad --pages or --paper value. Messages
// go to standard error.
int RunPdf(int argc, char** argv, const char* file, const char* pages, const char* paper);
