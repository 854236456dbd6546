// What the end-to-end programs share: their counted checks, which print what failed, and
// the reader's main window among the application's windows.
#pragma once

#include <QApplication>
#include <QWidget>
#include <cstdio>

inline int gFailures = 0;
inline int gChecks = 0;

inline void Check(bool condition, const char* what) {
  ++gChecks;
  if (condition) return;
  ++gFailures;
  std::fprintf(stderr, "FAILED: %s\n", what);
}

// The reader's main window; none before it is made.
inline QWidget* ReaderFrame() {
  QWidget* frame = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("Solmar")) frame = w;
  return frame;
}
