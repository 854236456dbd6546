// The program's front end, shared by `solmar` and the end-to-end harness.
#pragma once

// The whole program: the command line, then the reader, the off-screen renderer or a
// request to a running reader. Answers the exit code.
int SolmarMain(int argc, char** argv);

// Application set-up every reader process does once its QApplication exists: names and
// the book carried in the program.
void PrepareReaderApplication();

// Makes the interface speak the language of --lang (none: not given), else the one stored
// in the reader (setting "Language") when readStored is set, else the desktop's. Needs the
// QApplication.
void ApplyInterfaceLanguage(const char* commandLine, bool readStored);
