// The platform seam: every operating-system service the reader uses, grouped by area.
//
// The subsystems (content, view, index, shell, search, export, dialogs) call only what is
// declared here. Two backends implement it and are chosen at link time:
//   - solmar_platform_qt   (src/platform/qt/)   the program, on Qt 6 Widgets;
//   - solmar_platform_fake (src/platform/fake/) tests: deterministic and recorded.
// Handles are opaque; each backend defines the structs. Strings are UTF-16 (char16_t),
// 0-terminated unless a count is given. Colours are 0x00BBGGRR.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// ---------------------------------------------------------------------------------------
// Handles (defined by each backend)
struct Resource;  // a resource found in the program's own pack
struct Dc;        // drawing context
struct Font;
struct Pen;
struct Brush;
struct Bitmap;
struct Icon;
struct Window;    // top-level window, child control or dialog
struct Menu;
struct SettingsKey;

// ---------------------------------------------------------------------------------------
// Resources
constexpr uint32_t kResourceTypeDialog = 5;
constexpr uint32_t kResourceTypeRawData = 10;

// Returns none when the program carries no resource with that identifier and type.
const Resource* FindResource(uint32_t id, uint32_t type);
// Size in bytes; 0 for none.
uint32_t ResourceSize(const Resource* resource);
// The resource's bytes, read-only and valid for the whole run; none when it cannot be loaded.
const uint8_t* LoadResource(const Resource* resource);
// Pictures by identifier (icon 101, bitmaps 113, 114, 119, 201..203); none when absent.
Bitmap* LoadBitmap(uint32_t id);
void DeleteBitmap(Bitmap* bitmap);
Icon* LoadIcon(uint32_t id);

// ---------------------------------------------------------------------------------------
// Heap: everything the reader says "comes from the heap" is allocated here, so tests can
// make any allocation fail.
void* Alloc(size_t bytes);  // none when memory runs out
void Free(void* block);     // none is allowed

// ---------------------------------------------------------------------------------------
// Message boxes
constexpr uint32_t kMbOk = 0x00;
constexpr uint32_t kMbOkCancel = 0x01;
constexpr uint32_t kMbYesNoCancel = 0x03;
constexpr uint32_t kMbYesNo = 0x04;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconWarning = 0x30;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr uint32_t kMbButtonsMask = 0x0F;
constexpr uint32_t kMbIconMask = 0xF0;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows a modal message box and returns the button chosen (kIdOk ...). A null caption
// means the platform's default caption; a null owner means no owner window.
int MessageBox(Window* owner, const char16_t* text, const char16_t* caption, uint32_t type);

// ---------------------------------------------------------------------------------------
// Drawing
struct Rect {
  int32_t left, top, right, bottom;  // right column and bottom row excluded
};

struct FontDescription {
  int32_t height;        // pixels: ascent + descent; 0 = the platform's default size
  int32_t weight;        // 400 normal, 700 bold
  uint8_t charset;       // kept at 0
  char16_t face[32];     // 0-terminated; empty = the platform's default face
};

struct TextMetrics {
  int32_t height;        // ascent + descent
  int32_t ascent;
  int32_t descent;
  int32_t averageCharWidth;
  int32_t maxCharWidth;
};

constexpr int kBkTransparent = 1;
constexpr int kBkOpaque = 2;
constexpr int kStockWhiteBrush = 0;
constexpr int kStockBlackBrush = 4;

Font* CreateFont(const FontDescription& description);  // none on failure
void DeleteFont(Font* font);
// Select* put an object into the context and return the one it had before.
Font* SelectFont(Dc* dc, Font* font);
Pen* SelectPen(Dc* dc, Pen* pen);
Brush* SelectBrush(Dc* dc, Brush* brush);
Pen* CreateSolidPen(int32_t width, uint32_t colour);  // none on failure
void DeletePen(Pen* pen);
Brush* CreateSolidBrush(uint32_t colour);             // none on failure
void DeleteBrush(Brush* brush);
Brush* StockBrush(int which);                         // never deleted

bool GetTextMetrics(Dc* dc, TextMetrics* metrics);
// How many of the first count units of text fit in maxWidth pixels, measured strictly
// left to right in the order given (display text arrives in visual order).
int32_t CharactersFitting(Dc* dc, const char16_t* text, int32_t count, int32_t maxWidth);
// Width and height of the first count units.
void TextExtent(Dc* dc, const char16_t* text, int32_t count, int32_t* width, int32_t* height);
// Draws count units centred horizontally and vertically on one line in the rectangle,
// in the current font, text colour and background mode, without bidi reordering.
void DrawTextCentred(Dc* dc, const char16_t* text, int32_t count, const Rect& rect);

uint32_t SetTextColour(Dc* dc, uint32_t colour);      // returns the previous one
uint32_t GetTextColour(Dc* dc);
uint32_t SetBackgroundColour(Dc* dc, uint32_t colour);
int SetBackgroundMode(Dc* dc, int mode);              // kBkTransparent / kBkOpaque

// Outline with the current pen, inside filled with the current brush.
void DrawRectangle(Dc* dc, const Rect& rect);
void FillRect(Dc* dc, const Rect& rect, Brush* brush);
// Copies a 9 x 9 cell of a bitmap (source x, y) to x, y of the context.
void CopyBitmapCell(Dc* dc, int32_t x, int32_t y, Bitmap* bitmap, int32_t sourceX, int32_t sourceY);
int32_t PixelsPerInch(Dc* dc);
constexpr int kSystemMetricScrollBarWidth = 2;
int32_t SystemMetric(int which);

// ---------------------------------------------------------------------------------------
// Windows and messages
using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

constexpr uint32_t kMsgCreate = 1;
constexpr uint32_t kMsgDestroy = 2;
constexpr uint32_t kMsgSize = 5;
constexpr uint32_t kMsgActivate = 6;
constexpr uint32_t kMsgPaint = 15;
constexpr uint32_t kMsgSettingChange = 26;
constexpr uint32_t kMsgWindowPositionChanged = 71;
constexpr uint32_t kMsgHelp = 83;
constexpr uint32_t kMsgKeyDown = 256;
constexpr uint32_t kMsgChar = 258;
constexpr uint32_t kMsgInitDialog = 272;
constexpr uint32_t kMsgCommand = 273;
constexpr uint32_t kMsgVScroll = 277;
constexpr uint32_t kMsgLButtonDown = 513;
constexpr uint32_t kMsgMouseWheel = 522;
constexpr uint32_t kMsgPrivateQuit = 1023;

// ---------------------------------------------------------------------------------------
// Settings store (the current user's registry)
constexpr uint32_t kSettingString = 1;   // UTF-16 string with its 0 terminator
constexpr uint32_t kSettingBinary = 3;   // raw bytes
constexpr uint32_t kSettingNumber = 4;   // 32-bit unsigned

// Opens (create: creates) the key at path, e.g. u"Software\\Orvanel\\Solmar". None on failure.
SettingsKey* OpenSettingsKey(const char16_t* path, bool create);
void CloseSettingsKey(SettingsKey* key);
// Reads a value. On entry *size is the buffer's size in bytes; on return the value's size.
// data may be none to ask for the size only. Returns false when the value is absent or
// larger than the buffer (then *size still tells the size needed). *type gets the kind.
bool ReadSetting(SettingsKey* key, const char16_t* name, uint32_t* type, void* data, uint32_t* size);
bool WriteSetting(SettingsKey* key, const char16_t* name, uint32_t type, const void* data, uint32_t size);

// ---------------------------------------------------------------------------------------
// Clipboard
// Registers a named format and returns its identifier (0 on failure).
uint32_t RegisterClipboardFormat(const char16_t* name);
constexpr uint32_t kClipboardUnicodeText = 13;

// ---------------------------------------------------------------------------------------
// Shell
// Opens an address with the platform's handler for it; false when that failed.
bool OpenAddress(const char16_t* address);

// ---------------------------------------------------------------------------------------
// System
struct OsVersion {
  uint32_t major, minor;
};
OsVersion GetOsVersion();
// Full path of the running program, 0-terminated into buffer (capacity in units); the
// number of units written, 0 on failure.
uint32_t GetProgramPath(char16_t* buffer, uint32_t capacity);
// Lets the platform handle pending input (long operations call it between steps).
void Yield();
// Asks the message loop to end with the exit code once the current message is handled.
void PostQuitMessage(int exitCode);

}  // namespace platform
