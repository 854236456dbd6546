#include "reader/font_steps.h"

#include "dialogs/font_chooser.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

constexpr int32_t kDefaultSizeStandIn = 12;

}  // namespace

int32_t SteppedFontSize(int32_t current, int direction) {
  const int32_t from = current > 0 ? current : kDefaultSizeStandIn;
  if (direction > 0) {
    for (int32_t size : kFontChooserSizes)
      if (size > from) return size;
  } else if (direction < 0) {
    for (int i = kFontChooserSizeCount - 1; i >= 0; --i)
      if (kFontChooserSizes[i] < from) return kFontChooserSizes[i];
  }
  return current;
}

void StepFontSize(platform::Window* mainWindow, int direction) {
  int32_t& size = gReaderSettings.fontSpec.size;
  const int32_t wanted = direction == 0 ? gFontSteps.chosenSize : SteppedFontSize(size, direction);
  if (wanted == size) return;
  size = wanted;
  ApplyFontToPanes(mainWindow);
}

void OnFontSizeWheel(platform::Window* mainWindow, int32_t wheelDelta) {
  int32_t& pending = gFontSteps.wheelPending;
  if ((pending > 0) != (wheelDelta > 0)) pending = 0;
  pending += wheelDelta;
  const int32_t steps = pending / platform::kWheelDelta;
  pending -= steps * platform::kWheelDelta;
  for (int32_t i = 0; i < (steps > 0 ? steps : -steps); ++i) StepFontSize(mainWindow, steps > 0 ? 1 : -1);
}

void ApplyFontToPanes(platform::Window* mainWindow) {
  PageView* views[2] = {gPaneState.upperView, gPaneState.lowerView};
  uint16_t tops[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    tops[i] = PageViewTopOffset(views[i]);
    PageViewSetFont(views[i], &gReaderSettings.fontSpec);
  }
  // The margin follows the font; before the first size message there is nothing to lay out.
  if (gPaneState.lastClientWidth > 0 && gPaneState.lastClientHeight > 0) LayOutPanes(mainWindow, kLastClientSize);
  for (int i = 0; i < 2; ++i)
    if (views[i] && tops[i] != 0) PageViewScrollToOffset(views[i], tops[i]);
  RepaintPanes(mainWindow, kRepaintAfterResize | kRepaintEraseClient);
}
