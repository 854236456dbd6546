#include "platform/fake/fake_platform.h"

#include "platform/fake/fake_internal.h"

namespace fake {

void ResetAll() {
  ResetResources();
  ResetHeap();
  ResetMessageBoxes();
  ResetDrawing();
  ResetSettings();
  ResetWindows();
  ResetShell();
  ResetPictures();
  ResetAccessibility();
  ResetClipboard();
  ResetFontChooserSupport();
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
