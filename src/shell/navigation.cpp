#include "shell/navigation.h"

#include "shell/menu_marks.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

void StepArticle(platform::Window* mainWindow, int step) {
  int n = int(gReaderSettings.lesson) + step;
  if (n > kLastArticle)
    n = 1;
  else if (n < 1)
    n = kLastPage;
  GoToArticle(mainWindow, n);
}

int GoToArticle(platform::Window* mainWindow, int n) {
  const uint16_t previous = gReaderSettings.lesson;
  SelectArticle(uint16_t(n));
  if (!LoadArticleIntoView(gPaneState.upperView, gReaderSettings.lesson, true)) {
    gReaderSettings.lesson = previous;
    return 1;
  }
  if (gPaneState.upperView) gPaneState.upperView->topRow = 0;
  LoadCommentaryPane(mainWindow);
  RepaintPanes(mainWindow, kRepaintAll);
  RefreshBookmarkCheck();
  return 0;
}

int ReloadCurrentArticle(platform::Window* mainWindow) {
  if (!LoadArticleIntoView(gPaneState.upperView, gReaderSettings.lesson, true)) return 1;
  if (gPaneState.upperView) gPaneState.upperView->topRow = 0;
  RepaintPanes(mainWindow, kRepaintAll);
  RefreshBookmarkCheck();
  return 0;
}
