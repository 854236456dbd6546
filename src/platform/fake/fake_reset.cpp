#include "platform/fake/fake_platform.h"

#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_print.h"

namespace fake {

void ResetAll() {
  ResetResources();
  ResetHeap();
  ResetMessageBoxes();
  ResetPrinting();  // before the drawing: its jobs hold contexts
  ResetDrawing();
  ResetSettings();
  ResetWindows();
  ResetShell();
  ResetPictures();
  ResetAccessibility();
  ResetClipboard();
  ResetFontChooserSupport();
  ResetLanguage();
}

void TrimRecords() {
  TrimWindows();
  ClearDrawCalls();
  TrimClipboard();
  TrimShell();
  TrimFontChooserSupport();
  ResetMessageBoxes();
}

}  // namespace fake
