// The title banner: the article's title and subtitle in a framed box at the bottom of the
// view, drawn over the painted text and gone at the next paint.
#include <algorithm>

#include "content/streams.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"
#include "view/view_internal.h"

namespace {

void Fill(BannerText* out, const ParagraphRecord* record) {
  if (record && record->length > 0) *out = BannerText{int32_t(record->length), 0, record->text};
}

}  // namespace

void FindTitleRecords(const uint8_t* stream, BannerText* title, BannerText* subtitle, const uint8_t* end) {
  if (title) *title = BannerText{};
  if (subtitle) *subtitle = BannerText{};
  if (!stream) return;
  TitleRecords records;
  FindTitles(stream, end ? end : stream + view_internal::kStreamLimit, &records);
  if (title) Fill(title, records.title);
  if (subtitle) Fill(subtitle, records.subtitle);
}

void DrawNestedFrame(platform::Dc* dc, platform::Rect* box, uint32_t colour, int32_t count) {
  platform::Pen* pen = platform::CreateSolidPen(1, colour);
  platform::Pen* oldPen = pen ? platform::SelectPen(dc, pen) : nullptr;
  for (int32_t i = 0; i < count; ++i) {
    if (pen) platform::DrawRectangle(dc, *box);
    ++box->left;
    ++box->top;
    --box->right;
    --box->bottom;
  }
  if (pen) {
    platform::SelectPen(dc, oldPen);
    platform::DeletePen(pen);
  }
}

void PageViewShowTitleBanner(PageView* view) {
  if (!view || !view->text) return;
  BannerText title, subtitle;
  FindTitleRecords(view->text, &title, &subtitle, view->text + view->textLength);
  if (!title.text && !subtitle.text) return;

  platform::Dc* dc = view->dc;
  // The style's colour is set with the font; the caller gets its own colour back too.
  const uint32_t oldColour = platform::GetTextColour(dc);
  platform::Font* oldFont = FontCacheSelect(view, kSelectWithColour | kParaSmaller);
  const int32_t rows = (title.text && subtitle.text) ? 2 : 1;
  platform::TextMetrics metrics{};
  platform::GetTextMetrics(dc, &metrics);
  const int32_t h = metrics.height;
  const int oldMode = platform::SetBackgroundMode(dc, platform::kBkOpaque);

  for (BannerText* t : {&title, &subtitle}) {
    if (!t->text) continue;
    t->width = view->width;
    MeasureFit(dc, t->text, view->fontSpec.fontAsciiBase, &t->width, &t->length);
  }
  const int32_t boxWidth = std::min(std::max(title.width, subtitle.width) + 2 * h + 8, view->width);
  platform::Rect box;
  box.left = view->x + (view->width - boxWidth) / 2;
  box.right = box.left + boxWidth;
  box.top = view->y + view->height - rows * h - 12;
  box.bottom = view->y + view->height - 2;
  const ColourScheme& scheme = *gColourScheme;
  DrawNestedFrame(dc, &box, scheme.bannerFrames[0], 2);
  DrawNestedFrame(dc, &box, scheme.bannerFrames[1], 1);
  DrawNestedFrame(dc, &box, scheme.bannerFrames[2], 2);
  if (platform::Brush* ground = platform::CreateSolidBrush(scheme.bannerGround)) {
    platform::FillRect(dc, box, ground);
    platform::DeleteBrush(ground);
  }
  const int32_t innerWidth = box.right - box.left;
  int32_t top = box.top;
  for (const BannerText* t : {&title, &subtitle}) {
    if (!t->text) continue;
    DrawColouredTextBox(dc, t->text, t->length, ViewTextForm(view), box.left + (innerWidth - t->width) / 2, top, t->width, h,
                        scheme.bannerText, scheme.bannerGround);
    top += h;
  }
  platform::SelectFont(dc, oldFont);
  platform::SetBackgroundMode(dc, oldMode);
  platform::SetTextColour(dc, oldColour);
}
