// The view record's life: creation, size and font changes, destruction, and the per-style
// font cache.
#include <cstring>

#include "content/streams.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"

PageView* PageViewCreate(platform::Dc* dc, const platform::Rect* rect, const FontSpec& fontSpec,
                         uint16_t initialCapacity) {
  if (!dc) return nullptr;
  auto* view = static_cast<PageView*>(platform::Alloc(sizeof(PageView)));
  if (!view) return nullptr;
  std::memset(static_cast<void*>(view), 0, sizeof(PageView));
  view->dc = dc;
  if (rect) {
    view->x = rect->left;
    view->y = rect->top;
    view->width = rect->right - rect->left;
    view->height = rect->bottom - rect->top;
  }
  view->fontSpec = fontSpec;
  if (initialCapacity) {
    auto* lines = static_cast<LineRecord*>(platform::Alloc((size_t(initialCapacity) + 1) * sizeof(LineRecord)));
    if (lines) {
      lines[0] = LineRecord{};
      view->lines = lines;
      view->lineCapacity = initialCapacity;
    }
  }
  return view;
}

int32_t PageViewSetSize(PageView* view, int32_t width, int32_t height) {
  if (!view) return kViewMissing;
  if (width <= 0 || height <= 0) return kViewBadSize;
  view->width = width;
  view->height = height;
  return PageViewLayOut(view, view->text, view->textLength, false);
}

void FontCacheDeleteFonts(FontCache* head) {
  for (FontCache* entry = head; entry; entry = entry->next) {
    platform::DeleteFont(entry->font);
    entry->font = nullptr;
  }
}

void FontCacheRelease(FontCache** head) {
  FontCacheDeleteFonts(*head);
  // The entries themselves go with the fonts: nothing refers to them afterwards.
  for (FontCache* entry = *head; entry;) {
    FontCache* next = entry->next;
    platform::Free(entry);
    entry = next;
  }
  *head = nullptr;
}

int32_t PageViewSetFont(PageView* view, const FontSpec* fontSpec) {
  if (!view) return kViewMissing;
  if (!fontSpec) {
    FontCacheDeleteFonts(view->fontCache);
    return kViewOk;
  }
  view->fontSpec = *fontSpec;
  for (FontCache* entry = view->fontCache; entry; entry = entry->next) {
    platform::DeleteFont(entry->font);
    entry->font = platform::CreateFont(StyleFontDescription(view->fontSpec, entry->styleKey));
  }
  if (PageViewLayOut(view, view->text, view->textLength, false) != kViewOk) return kSetFontLayoutFailed;
  return PageViewPaint(view, 1);
}

void PageViewDestroy(PageView* view, bool releaseRecord) {
  if (!view) return;
  platform::Free(view->text);
  view->text = nullptr;
  view->textLength = 0;
  platform::Free(view->lines);
  view->lines = nullptr;
  view->lineCapacity = 0;
  view->lineCount = 0;
  view->totalRows = 0;
  view->maxTopRow = 0;
  FontCacheRelease(&view->fontCache);
  if (releaseRecord) platform::Free(view);
}

platform::FontDescription StyleFontDescription(const FontSpec& fontSpec, uint8_t styleKey) {
  platform::FontDescription description{};
  const int32_t size = fontSpec.size;
  if (styleKey & kParaLarger)
    description.height = size ? size * 5 / 4 : 20;
  else if (styleKey & kParaSmaller)
    description.height = size ? size * 6 / 8 : 14;
  else
    description.height = size;
  description.weight = (styleKey & kParaBold) ? 700 : 400;
  static_assert(sizeof(description.face) == sizeof(fontSpec.faceName));
  std::memcpy(description.face, fontSpec.faceName, sizeof(description.face));
  description.face[31] = 0;
  return description;
}

uint32_t StyleColour(uint8_t styleKey) {
  if (styleKey & kParaSmaller) return gColourScheme->verseNumber;
  if ((styleKey & (kParaLarger | kParaBold)) == (kParaLarger | kParaBold)) return gColourScheme->title;
  return gColourScheme->text;
}

platform::Font* FontCacheSelect(PageView* view, uint32_t flags) {
  if (!view) return nullptr;
  const uint8_t key = uint8_t(flags & kParaStyleKeyMask);
  FontCache* entry = view->fontCache;
  while (entry && entry->styleKey != key) entry = entry->next;
  if (!entry) {
    entry = static_cast<FontCache*>(platform::Alloc(sizeof(FontCache)));
    if (entry) {
      *entry = FontCache{view->fontCache, nullptr, key};
      view->fontCache = entry;
    }
  }
  // An entry whose font was released gets a new font in place rather than a second entry.
  if (entry && !entry->font) entry->font = platform::CreateFont(StyleFontDescription(view->fontSpec, key));
  if (flags & kSelectWithColour) platform::SetTextColour(view->dc, StyleColour(key));
  // Without an entry or a font the platform's default font is selected, so text still
  // shows and the caller's restore works as usual.
  return platform::SelectFont(view->dc, entry ? entry->font : nullptr);
}
