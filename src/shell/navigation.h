// Moving between articles: the current article in the upper pane, its commentary below.
#pragma once

#include "content/article.h"  // kLastPage, kLastArticle
#include "platform/platform.h"

// Goes to article n: makes it current, loads it at its top with its commentary, repaints
// and refreshes the Bookmark mark. 1 (nothing changes) when the article cannot be loaded.
int GoToArticle(platform::Window* mainWindow, int n);
// Reloads the current article into the upper pane at its top; the lower pane is kept.
int ReloadCurrentArticle(platform::Window* mainWindow);
// Previous (-2) or next (+2) page, wrapping from 285 to 1 and from 1 to 285.
void StepArticle(platform::Window* mainWindow, int step);
