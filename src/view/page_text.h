// The text of a laid-out page view in reading order, for assistive technology.
//
// Hebrew letters come as Unicode (U+05D0..U+05EA) whatever the font's letter base, and
// the rows of right-to-left paragraphs are turned back from their stored visual order
// (a lead word first, as it is read). Rows of one paragraph are joined by a space and each
// paragraph ends with a line break; rules have no text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PageView;

// The rows the view shows now, from its top row down to the last that fits; empty without
// a view, text or line table.
std::u16string PageViewVisibleText(PageView* view);
// Every row of the view's article; empty without a view, text or line table.
std::u16string PageViewArticleText(PageView* view);
// Where the character of a reading key stands in PageViewArticleText: the length of the
// text its characters read before it make. 0 without a view, text or line table.
size_t PageViewArticleTextOffset(PageView* view, uint16_t readingKey);
