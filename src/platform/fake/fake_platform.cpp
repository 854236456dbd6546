#include "platform/fake/fake_platform.h"

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

}  // namespace fake
