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
#include <string>
#include <vector>

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
// means the platform's default caption; a null owner means no owner window. A box the user
// dismisses (Escape, the window's close button) answers MessageBoxDismissAnswer(type).
int MessageBox(Window* owner, const char16_t* text, const char16_t* caption, uint32_t type);
// The answer of a dismissed box: never one that acts. No for boxes with Yes and No (their
// Cancel may carry a meaning of its own), Cancel for OK and Cancel, else OK.
constexpr int MessageBoxDismissAnswer(uint32_t type) {
  switch (type & kMbButtonsMask) {
    case kMbYesNo:
    case kMbYesNoCancel: return kIdNo;
    case kMbOkCancel: return kIdCancel;
    default: return kIdOk;
  }
}

// ---------------------------------------------------------------------------------------
// Drawing
struct Rect {
  int32_t left, top, right, bottom;  // right column and bottom row excluded
};

struct FontDescription {
  int32_t height;        // pixels: ascent + descent; 0 = the platform's default size
  int32_t weight;        // 400 normal, 700 bold
  uint8_t charset;       // 0; kHebrewCharset for a family that writes Hebrew (enumeration)
  char16_t face[32];     // 0-terminated; empty = the platform's default face
  uint8_t underline;     // nonzero: text is underlined
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
// None is allowed. A font must not be deleted while a context has it selected: the
// context would hand it back as the previous font of its next selection.
void DeleteFont(Font* font);
// Select* put an object into the context and return the one it had before. A context
// starts with the platform's default font (answered as none; SelectFont(none) selects it
// again), a black pen one pixel wide and the white stock brush; these two belong to the
// platform and are never deleted. SelectPen / SelectBrush with none: no outline / no fill.
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
// Width and height of the first count units (0 units: width 0, the text height). The
// width of n units is the same that CharactersFitting compares with maxWidth.
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
// The inner margin a pane keeps between its text and its edges, in hundredths of the
// pane's text height (0: none, the text runs to the edges).
constexpr int kSystemMetricPaneMarginPercent = 0x1001;
// A size the platform defines (kSystemMetric...); 0 for one it does not know.
int32_t SystemMetric(int which);

// ---------------------------------------------------------------------------------------
// Colours of the platform's own surfaces
// What the platform paints without the reader drawing it: the ground of a client area
// before the reader paints, the controls, menus, dialogs and scroll bars, the pictures it
// draws (the keyboard 119 and the tree glyphs 201..203) and the marked parts of result
// lists. 0x00BBGGRR.
struct ChromeColours {
  bool dark;                 // a dark scheme: the platform's own palette is used only when it is dark too
  uint32_t ground;           // a client area before the reader paints on it
  uint32_t window, windowText;
  uint32_t base, alternateBase, text;  // edit boxes and lists
  uint32_t button, buttonText;
  uint32_t highlight, highlightedText;  // selected rows and menu items
  uint32_t disabledText;
  uint32_t link;
  uint32_t toolTipBase, toolTipText;
  uint32_t pictureInk, pictureGround;   // the keyboard and the tree glyphs
  uint32_t iconInk, iconAccent, iconLens;  // the tool buttons' pictures
  uint32_t markText, markGround;        // the marked part of a result list's cell
};
// Makes colours the ones the platform paints with. Where the desktop's own colours are as
// light or as dark as colours.dark asks, its palette stays in use; otherwise the platform's
// controls, menus and dialogs take these. Pictures loaded afterwards are drawn in them;
// windows already shown are repainted.
void SetChromeColours(const ChromeColours& colours);
// Whether the desktop asks programs for dark colours: its colour-scheme hint where the
// platform has one, else its palette's window colour darker than its text. False when it
// cannot tell.
bool DesktopPrefersDark();
// Sent to every top-level window of a registered class when the desktop's colours change
// (DesktopPrefersDark may answer otherwise now).
constexpr uint32_t kMsgSysColourChange = 21;

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
// Key-down second parameter: Shift was held with the key.
constexpr intptr_t kKeyWithShift = 0x1;
constexpr uint32_t kMsgChar = 258;
constexpr uint32_t kMsgInitDialog = 272;
constexpr uint32_t kMsgCommand = 273;
constexpr uint32_t kMsgVScroll = 277;
constexpr uint32_t kMsgMouseMove = 512;       // while the left button is held: kMkLButton, x, y
constexpr uint32_t kMsgLButtonDown = 513;
constexpr uint32_t kMsgLButtonUp = 514;
// A double click's second press, or a triple click's third: kMkLButton (and the kMk... keys)
// in the low word of the first parameter, the count (2 or 3) in its high word, x, y.
constexpr uint32_t kMsgLButtonDblClk = 515;
constexpr uint32_t kMsgMouseWheel = 522;
constexpr uint32_t kMsgPrivateQuit = 1023;
// Another start of the reader asked the running one to come forward (single instance).
constexpr uint32_t kMsgSecondStart = 1024;
// A later start asks the reader to go to a reference: second parameter the 0-terminated
// UTF-16 text, valid while the message is handled.
constexpr uint32_t kMsgGoToReference = 1025;

// Parameters pack two 16-bit halves: low word | high word << 16.
constexpr uint32_t LowWord(uintptr_t value) { return uint32_t(value & 0xFFFF); }
constexpr uint32_t HighWord(uintptr_t value) { return uint32_t((value >> 16) & 0xFFFF); }
constexpr intptr_t MakeLong(uint32_t low, uint32_t high) { return intptr_t((low & 0xFFFF) | (high & 0xFFFF) << 16); }

// Key codes of the key-down message (the Windows virtual-key numbering). Letters and digits
// are their upper-case ASCII codes.
constexpr uint32_t kVkBack = 8;
constexpr uint32_t kVkTab = 9;
constexpr uint32_t kVkReturn = 13;
constexpr uint32_t kVkEscape = 27;
constexpr uint32_t kVkSpace = 32;
constexpr uint32_t kVkPrior = 33;  // Page Up
constexpr uint32_t kVkNext = 34;   // Page Down
constexpr uint32_t kVkEnd = 35;
constexpr uint32_t kVkHome = 36;
constexpr uint32_t kVkLeft = 37;
constexpr uint32_t kVkUp = 38;
constexpr uint32_t kVkRight = 39;
constexpr uint32_t kVkDown = 40;
constexpr uint32_t kVkInsert = 45;
constexpr uint32_t kVkDelete = 46;
constexpr uint32_t kVkF1 = 0x70;  // F1..F12 are 0x70..0x7B
constexpr uint32_t kVkF3 = 0x72;
constexpr uint32_t kVkAdd = 0x6B;       // the keypad's + (also + typed with Shift)
constexpr uint32_t kVkSubtract = 0x6D;  // the keypad's -
constexpr uint32_t kVkOemPlus = 0xBB;   // the = key that carries + with Shift
constexpr uint32_t kVkOemMinus = 0xBD;  // the - key

// Vertical scroll message: the scroll code in the low word of the first parameter, the
// thumb position (signed) in its high word, the scroll bar window as the second.
constexpr uint32_t kSbLineUp = 0;
constexpr uint32_t kSbLineDown = 1;
constexpr uint32_t kSbPageUp = 2;
constexpr uint32_t kSbPageDown = 3;
constexpr uint32_t kSbThumbPosition = 4;
constexpr uint32_t kSbThumbTrack = 5;
constexpr uint32_t kSbTop = 6;
constexpr uint32_t kSbBottom = 7;
constexpr uint32_t kSbEndScroll = 8;

// Mouse wheel message: the signed wheel distance in the high word of the first parameter
// (120 per notch, positive away from the user) and the kMk... keys held in its low word,
// the pointer's client x and y in the second (low and high word).
constexpr int32_t kWheelDelta = 120;

// Low word of the first parameter of the button and wheel messages.
constexpr uint32_t kMkLButton = 0x0001;
constexpr uint32_t kMkShift = 0x0004;
constexpr uint32_t kMkControl = 0x0008;
// Left button down: a mouse pressed it. Clear for a stylus or a touch (and for a press the
// platform cannot tell), which keep the handheld's tap rules.
constexpr uint32_t kMkFromMouse = 0x8000;

// Window styles, class styles, show states.
constexpr uint32_t kWsExWindowEdge = 0x100;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kSbsVertical = 0x0001;
constexpr uint32_t kCsVRedraw = 0x0001;
constexpr uint32_t kCsHRedraw = 0x0002;
constexpr int32_t kUseDefault = INT32_MIN;  // position or size left to the platform
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShow = 5;

// The second parameter of the window-position-changed message points at this.
constexpr uint32_t kSwpNoActivate = 0x0010;
struct WindowPosition {
  int32_t x, y, width, height;
  uint32_t flags;
};

struct WindowClass {
  uint32_t style;          // kCsHRedraw | kCsVRedraw: repaint all after a size change
  WindowProc proc;
  Icon* icon;              // none allowed
  Brush* background;       // none allowed
  const char16_t* name;
};

// Registers a class of top-level windows; false when it cannot be registered.
bool RegisterWindowClass(const WindowClass& windowClass);
// Creates a window. className is a registered class (a top-level window; its procedure gets
// the create message before this returns, and an answer of -1 fails the creation) or
// u"SCROLLBAR" (a child scroll bar of parent, in parent's client coordinates; width and
// height kUseDefault: the platform's scroll bar width and a height of 0). None on failure.
Window* CreateWindow(uint32_t exStyle, const char16_t* className, const char16_t* title, uint32_t style,
                     int32_t x, int32_t y, int32_t width, int32_t height, Window* parent, Menu* menu);
// Sends the destroy message to the window's procedure, then destroys it and its children.
// False for none or a window already destroyed.
bool DestroyWindow(Window* window);
// A top-level window of this program with that class and title (an empty title matches an
// empty title only); none when there is none.
Window* FindWindow(const char16_t* className, const char16_t* title);
// The window the user works with now; none when no window of this program is in front.
Window* GetForegroundWindow();
// The parent or owner of a window; none for a top-level window without owner.
Window* GetParent(Window* window);
// Brings a top-level window to the front; false when that is refused.
bool SetForegroundWindow(Window* window);
// Calls the window's procedure now and answers its answer (0 for none).
intptr_t SendMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The platform's own handling of a message the procedure does not handle.
intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// kSwHide, kSwShowNormal or kSwShow; answers whether the window was visible before.
bool ShowWindow(Window* window, int showState);
bool IsWindowVisible(Window* window);
// Paints the window now when part of it waits to be painted.
void UpdateWindow(Window* window);
// Lets a window just shown reach the screen and paint its first frame before the caller
// goes on, waiting at most timeoutMs: what the caller opens next comes up over a window
// that shows. Returns at once where there is no screen to wait for.
void ShowFirstFrame(Window* window, int timeoutMs);
// Outer rectangle in screen coordinates; the client rectangle from 0, 0. False for none.
bool GetWindowRect(Window* window, Rect* rect);
bool GetClientRect(Window* window, Rect* rect);
// Moves and sizes a window (a child in its parent's client coordinates); repaint: redraw it.
bool MoveWindow(Window* window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);

// The window's drawing context for drawing outside a paint; what is drawn shows on the
// screen. Give it back with ReleaseWindowDc. None for a window that cannot be drawn into.
Dc* GetWindowDc(Window* window);
void ReleaseWindowDc(Window* window, Dc* dc);
// Inside the paint message: the context to paint with; EndPaint marks the window painted.
Dc* BeginPaint(Window* window);
void EndPaint(Window* window);

// A scroll bar's range and thumb position; redraw: show the change now. Positions outside
// the range are pulled into it.
void SetScrollRange(Window* scrollBar, int32_t minimum, int32_t maximum, bool redraw);
void SetScrollPosition(Window* scrollBar, int32_t position, bool redraw);
// How much of the content the thumb shows as visible, in the units of the range (0: the
// platform's smallest thumb). Changes neither the range nor the position.
void SetScrollPage(Window* scrollBar, int32_t page);

// Where a top-level window lies on the screens: its rectangle without the platform's frame,
// in screen coordinates, as it is (or would be) when neither maximised nor full screen, and
// whether it is maximised.
struct WindowPlacement {
  Rect normal;
  bool maximized;
};
// False for none or a window that is not top-level.
bool GetWindowPlacement(Window* window, WindowPlacement* placement);
// Gives a top-level window that rectangle and state (before it is shown, or while it is).
bool SetWindowPlacement(Window* window, const WindowPlacement& placement);
// The client area of a top-level window is never made smaller than this.
bool SetMinimumClientSize(Window* window, int32_t width, int32_t height);
// The parts of each screen windows may take (without panels and docks), the primary screen
// first; answers how many screens there are (only capacity of them are written).
int ScreenWorkAreas(Rect* areas, int capacity);

// An accelerator turns a key press (with exactly these modifiers) into a command message
// with that identifier to the loop's window, before the key reaches the window.
constexpr uint16_t kAccelShift = 0x04;
constexpr uint16_t kAccelControl = 0x08;
constexpr uint16_t kAccelAlt = 0x10;
struct Accelerator {
  uint16_t modifiers;
  uint16_t key;       // key code (kVk..., or an upper-case letter)
  uint16_t command;
};
// Runs the message loop until PostQuitMessage; answers its exit code. Accelerators (none
// allowed) act for window. A quit asked for before the loop starts ends it at once.
int RunMessageLoop(Window* window, const Accelerator* accelerators, size_t count);

// ---------------------------------------------------------------------------------------
// Dialogs and controls
// A dialog is made from a template (platform/dialog_template.h) by identifier: its client
// area and controls are placed in dialog units, turned into pixels with the base units.
// Its procedure gets, as window messages:
//   kMsgInitDialog  first, before it shows: param as the second parameter. An answer other
//                   than 0 gives the focus to the first tab-stop control (an edit box then
//                   has all its text selected); 0 leaves the focus alone.
//   kMsgActivate    low word of the first parameter: kWaInactive, kWaActive, kWaClickActive.
//   kMsgCommand     first parameter MakeLong(control id, notification code), second the
//                   control (none for OK and Cancel that no control sent). The Enter key
//                   and the OK beside the caption send kIdOk; Escape and the window's close
//                   button send kIdCancel. The dialog stays until the procedure ends it.
//   kMsgLButtonDown second parameter MakeLong(x, y), client pixels of the dialog, for
//                   presses outside the controls that take input (static text and pictures
//                   pass presses on to the dialog).
//   kMsgKeyDown     keys pressed while the dialog itself has the focus (Enter, Escape and
//                   Tab excepted); an answer of 0 means handled.
//   kMsgVScroll     its own scroll bar (kWsVScroll): as for child scroll bars, with none as
//                   the second parameter.
//   kMsgSize        second parameter MakeLong(client width, client height).
//   kMsgPaint       when its client area needs painting (BeginPaint / EndPaint as for a
//                   window). kMsgEraseBackground is not sent by the backends; it is defined
//                   for procedures that handle it.
//   kMsgDestroy     last, after the procedure ended the dialog.
// A dialog draws on its client area with GetWindowDc / BeginPaint like a window; controls
// lie on top of what it draws.
constexpr uint32_t kMsgEraseBackground = 20;
constexpr uint32_t kWaInactive = 0;
constexpr uint32_t kWaActive = 1;
constexpr uint32_t kWaClickActive = 2;
// Notification codes of the command message.
constexpr uint16_t kBnClicked = 0;      // a button was pressed
constexpr uint16_t kLbnSelChange = 1;   // the user changed a list box's selection
constexpr uint16_t kLbnDblClk = 2;
constexpr uint16_t kEnChange = 0x0300;  // the user changed an edit box's text

// Runs a modal dialog built from template templateId over owner (centred over it, owned by
// it): proc gets the init-dialog message with param as its second parameter, then the
// dialog's messages, until it calls EndDialog. Answers the EndDialog result, or -1 when the
// dialog cannot be made (no such template, no memory).
intptr_t DialogBox(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param);
// Ends a modal dialog once its procedure returns; false when dialog is not one, or ended.
bool EndDialog(Window* dialog, intptr_t result);
// Makes a non-modal dialog from template templateId over owner (owned by it, shown in
// front of it) and answers it, or none when it cannot be made. proc gets the same messages
// as a modal dialog's, init-dialog first; the owner stays usable meanwhile. OK and Cancel
// (Enter, Escape, the close button) arrive as commands; the dialog stays until
// DestroyWindow(dialog), which sends kMsgDestroy. EndDialog does not apply to it.
Window* CreateDialog(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param);

// Desktop size and place of a dialog (not for one that covers the screen). Every dialog
// opens at its template's size, centred over its owner's window, and keeps that size; this
// gives it width x height pixels (the window without its frame; 0 or less: its template's),
// never less than its template's size nor more than the owner's screen, centres it over
// the owner's window again, kept on that screen, and with resizable lets the user change
// its size (down to the template's). False for none or a window that is not a dialog.
bool PlaceDialog(Window* dialog, int32_t width, int32_t height, bool resizable);
// The dialog's size in the measure PlaceDialog takes; false (0, 0) for none.
bool GetDialogSize(Window* dialog, int32_t* width, int32_t* height);

// The platform's dialog base units: horizontal in the low word, vertical in the high word.
// A dialog unit is horizontal / 4 pixels across and vertical / 8 pixels down (truncated).
uint32_t GetDialogBaseUnits();
constexpr int kNoControlId = -1;
// The control of dialog with that id; none when there is none (or id is kNoControlId).
Window* GetDialogItem(Window* dialog, int id);
// The id a control was made with; kNoControlId for none or a window that is no control.
int GetDialogControlId(Window* control);
// A dialog's caption or a control's text; false for none.
bool SetWindowText(Window* window, const char16_t* text);
// Copies at most capacity - 1 units of the text and a 0 into buffer; answers the units
// copied (0 for none, or capacity 0).
uint32_t GetWindowText(Window* window, char16_t* buffer, uint32_t capacity);
// The control shows its text in font from now on (none: the dialog's font); redraw: at
// once. The caller keeps the font and deletes it after the control is gone.
void SetWindowFont(Window* control, Font* font, bool redraw);
// Enables or disables input to a window; answers whether it was disabled before.
bool EnableWindow(Window* window, bool enable);
// Gives window the keyboard focus; false for none.
bool SetFocus(Window* window);

// Edit boxes. Positions count UTF-16 units of the text as the seam sees it.
// At most maxUnits units can be typed or put in from now on (0: the platform's maximum).
void EditLimitText(Window* edit, uint32_t maxUnits);
// The selection start and end (equal when it is only the caret); 0, 0 for none.
void EditGetSelection(Window* edit, uint32_t* start, uint32_t* end);
// Selects start..end (clamped to the text; end -1: to the end, so 0, -1 selects all).
void EditSetSelection(Window* edit, int32_t start, int32_t end);
// Replaces the selection with text, or inserts it at the caret, keeping the limit (what
// does not fit is dropped); the caret then stands after what was inserted. allowUndo: the
// user can undo it.
void EditReplaceSelection(Window* edit, const char16_t* text, bool allowUndo);
// From now on each character the user types into the box on the keyboard goes through map
// first, and map's answer is what the box gets; what is pasted or put in by the program
// does not. None: characters go in as typed.
using TypedCharacterMap = char16_t (*)(char16_t typed);
void EditMapTypedCharacters(Window* edit, TypedCharacterMap map);

// Buttons of a dialog by id: check marks of radio buttons; nothing for an id with no button.
void CheckDialogButton(Window* dialog, int id, bool checked);
bool IsDialogButtonChecked(Window* dialog, int id);

// List boxes. Indexes count from 0; kListBoxError (-1) reports a bad index or none.
constexpr int kListBoxError = -1;
// Adds at the end, or at its sorted place (kLbsSort); answers its index.
int ListBoxAddString(Window* list, const char16_t* text);
// Inserts at index (-1: at the end), not sorted; answers its index.
int ListBoxInsertString(Window* list, int index, const char16_t* text);
// Deletes the string at index; answers the count left.
int ListBoxDeleteString(Window* list, int index);
// Empties the list.
void ListBoxReset(Window* list);
int ListBoxCount(Window* list);  // 0 for none
// Copies at most capacity - 1 units of string index and a 0; answers the units copied, or
// kListBoxError for a bad index.
int ListBoxGetText(Window* list, int index, char16_t* buffer, uint32_t capacity);
// A number kept with each string (0 when added); SetItemData answers false for a bad index.
bool ListBoxSetItemData(Window* list, int index, intptr_t data);
intptr_t ListBoxGetItemData(Window* list, int index);  // kListBoxError for a bad index
int ListBoxGetCurrentSelection(Window* list);          // kListBoxError when none
// Selects index and shows it; -1 clears the selection. Answers kListBoxError for -1 or a
// bad index (the selection is then cleared).
int ListBoxSetCurrentSelection(Window* list, int index);
// The first string after startAfter (-1: from the first), going round once, that begins
// with prefix ignoring case; kListBoxError when none does.
int ListBoxFindPrefix(Window* list, int startAfter, const char16_t* prefix);
// ListBoxFindPrefix, and that string becomes the selection (an unmatched prefix keeps it).
int ListBoxSelectPrefix(Window* list, int startAfter, const char16_t* prefix);

// Result lists (ControlKind::kResultList): rows of several columns whose cells the dialog
// supplies when they are drawn, so a list of any length is filled at once. Whenever a cell
// is needed the dialog's procedure gets kMsgGetRowCell with the control's id as the first
// parameter and a RowCell* as the second, and fills in text (reading order) and, to have
// part of it marked (bold on a highlight), markStart and markLength in units of text.
constexpr uint32_t kMsgGetRowCell = 78;
struct RowCell {
  int controlId;
  int row;
  int column;
  std::u16string text;
  int32_t markStart;   // -1: nothing marked
  int32_t markLength;
};
struct ResultColumn {
  const char16_t* title;
  int16_t width;  // dialog units; the last column takes the rest
};
// The list's columns, in reading order (with kRlsRightToLeft the first is at the right).
// Removes every row.
void ResultListSetColumns(Window* list, const ResultColumn* columns, size_t count);
// The list has count rows from now on (negative: none); their cells are asked for again.
// The selection is cleared.
void ResultListSetRowCount(Window* list, int count);
int ResultListRowCount(Window* list);  // 0 for none
// Selects row and scrolls it into view (-1 clears the selection); kListBoxError for a row
// outside the list (the selection is then cleared).
int ResultListSetSelection(Window* list, int row);
int ResultListGetSelection(Window* list);  // kListBoxError when none
// The user moves the selection with the arrow keys, Page Up and Down, Home and End; a
// double click on a row selects it and sends the command MakeLong(id, kLbnDblClk). Enter
// and Escape belong to the dialog (kIdOk, kIdCancel).

// ---------------------------------------------------------------------------------------
// Menus
// A menu as data. An item with command 0 is a separator line. In an item's text '&' marks
// the mnemonic and a 0x08 unit separates the text from the shortcut text shown at the right.
struct MenuItemTemplate {
  uint16_t command;
  const char16_t* text;
};
struct PopupTemplate {
  const char16_t* title;
  const MenuItemTemplate* items;
  size_t count;
};
struct MenuTemplate {
  const PopupTemplate* popups;
  size_t count;
};

// Checks (or unchecks) the item with that command, searching the popups too; answers
// whether the item was checked before, false when there is no such item.
bool CheckMenuItem(Menu* menu, uint16_t command, bool checked);
// Whether the item with that command is checked; false when there is no such item.
bool IsMenuItemChecked(Menu* menu, uint16_t command);
// Gives the item check a radio mark and clears the marks of the other items whose
// commands lie in first..last; false when check is not in the menu.
bool CheckMenuRadioItem(Menu* menu, uint16_t first, uint16_t last, uint16_t check);

// ---------------------------------------------------------------------------------------
// Shell bars and full-screen
// The reader's bar is either the shell's menu bar (buttons opening popups of a menu) or a
// command bar (the whole menu in a bar); tool buttons go on either.
struct MenuBarButton {
  uint16_t command;
  const char16_t* caption;
  int popup;               // index into the menu's popups
};
struct ToolButton {
  int image;               // index among the bar's images
  uint16_t command;
  // The picture points the way the button leads (back, forward): a right-to-left
  // interface shows it turned round.
  bool pointsAlongLine = false;
};
constexpr uint32_t kMenuBarHideInputPanelButton = 4;

// The shell menu bar of owner with buttons opening the popups of menu; none on failure.
Window* CreateMenuBar(Window* owner, const MenuTemplate& menu, const MenuBarButton* buttons, size_t count,
                      uint32_t flags);
// A command bar in owner; none on failure. CommandBarInsertMenu puts the menu into it.
Window* CreateCommandBar(Window* owner, int id);
bool CommandBarInsertMenu(Window* bar, const MenuTemplate& menu);
// Adds the platform's close button to a command bar.
bool CommandBarAddCloseButton(Window* bar);
// Pixels of the owner's client area the bar covers: its height where it sits inside the
// client area (the handheld bars), 0 where the platform keeps it outside (desktop menu
// and tool bars).
int32_t BarHeight(Window* bar);
// The popup of a menu-bar button (by its command); for a command bar its whole menu (the
// command is not used). None when there is none.
Menu* BarMenu(Window* bar, uint16_t buttonCommand);
// Tips of the tool buttons: the first entry belongs to no button and is not shown.
bool BarAddTips(Window* bar, const char16_t* const* tips, size_t count);
// Adds count images of width x height from bitmap resource bitmapId; the index of the
// first, or -1 on failure.
int BarAddBitmap(Window* bar, uint32_t bitmapId, int count, int32_t width, int32_t height);
bool BarAddButtons(Window* bar, const ToolButton* buttons, size_t count);

// Full-screen state of a top-level window: any of these bits hides that element.
constexpr uint32_t kFullScreenHideTaskBar = 0x02;
constexpr uint32_t kFullScreenShowInputPanelButton = 0x04;
constexpr uint32_t kFullScreenHideInputPanelButton = 0x08;
constexpr uint32_t kFullScreenHideStartIcon = 0x20;
bool SetFullScreenState(Window* window, uint32_t state);
// The shell's handling of the setting-change message.
void HandleSettingChange(Window* window, uintptr_t wParam, intptr_t lParam);
// The shell's dialog initialisation: flags of kDialog... bits.
constexpr uint32_t kDialogDoneButton = 0x01;
constexpr uint32_t kDialogSizeToScreen = 0x02;
constexpr uint32_t kDialogSizeFullScreen = 0x04;
constexpr uint32_t kDialogInputPanelDown = 0x08;
constexpr uint32_t kDialogNoMenuBar = 0x10;
bool ShellInitDialog(Window* dialog, uint32_t flags);
// Asks the shell to put the input panel (the on-screen keyboard) away for window; nothing
// on platforms without one.
void ForceInputPanelDown(Window* window);

// ---------------------------------------------------------------------------------------
// Single instance
// True when no other process of this user holds name: this process then holds it until it
// ends. False when another one runs (reach it with SendInstanceRequest).
bool ClaimSingleInstance(const char16_t* name);
// Requests from later starts of the program reach window from now on: a second start as
// kMsgSecondStart, a request to close (and the platform's polite termination) as
// kMsgPrivateQuit, a reference to go to as kMsgGoToReference.
void ServeInstanceRequests(Window* window);
enum class InstanceRequest { kSecondStart, kQuit, kGoTo };
// Delivers a request to the process holding name and waits until its window handled it;
// false when no such process answers. kGoTo carries text (line ends in it become spaces).
bool SendInstanceRequest(const char16_t* name, InstanceRequest request, const char16_t* text = nullptr);

// ---------------------------------------------------------------------------------------
// Settings store (the current user's registry)
constexpr uint32_t kSettingString = 1;   // UTF-16 string with its 0 terminator
constexpr uint32_t kSettingBinary = 3;   // raw bytes
constexpr uint32_t kSettingNumber = 4;   // 32-bit unsigned

// Opens (create: creates) the key at path, e.g. u"Software\\Orvanel\\Solmar". None on failure;
// without create, also when the key does not exist. The leading "Software" matches in any
// case ("software\\Orvanel" is the same key as "Software\\Orvanel"); the rest of a path and
// value names match exactly.
SettingsKey* OpenSettingsKey(const char16_t* path, bool create);
void CloseSettingsKey(SettingsKey* key);
// Reads a value. On entry *size is the buffer's size in bytes; on return the value's size.
// data may be none to ask for the size only. Returns false when the value is absent or
// larger than the buffer (then *size still tells the size needed). *type gets the kind.
bool ReadSetting(SettingsKey* key, const char16_t* name, uint32_t* type, void* data, uint32_t* size);
bool WriteSetting(SettingsKey* key, const char16_t* name, uint32_t type, const void* data, uint32_t size);
// Makes the writes from here to EndSettingsBatch one change of the store: a process that
// dies before EndSettingsBatch has finished leaves every key as it was, one that dies after
// has every write, never a part of them. Reads in between see the writes. Batches do not
// nest (a second Begin is ignored).
void BeginSettingsBatch();
// Stores the batch's writes together; false when the store could not take them (each
// write of the batch then may or may not have landed, as single writes that failed).
bool EndSettingsBatch();

// ---------------------------------------------------------------------------------------
// Clipboard
// Registers a named format and returns its identifier (0 on failure).
uint32_t RegisterClipboardFormat(const char16_t* name);
constexpr uint32_t kClipboardUnicodeText = 13;

// Access for the export: open, read, empty, hand over, close. Formats handed over between
// EmptyClipboard and CloseClipboard make one offer, so each application takes the richest
// it understands. Unicode text is UTF-16 units ended by a 0 unit.
// False when the clipboard cannot be opened now; nothing changes then.
bool OpenClipboard();
// Drops everything the clipboard holds; false when it is not open.
bool EmptyClipboard();
// The bytes held under format, borrowed until CloseClipboard; none and *size 0 when the
// clipboard is not open or holds no such data.
const uint8_t* GetClipboardData(uint32_t format, size_t* size);
// A block of clipboard memory to hand over; none when it cannot be had.
void* AllocClipboardBlock(size_t bytes);
// Releases a block that was not handed over; none is allowed.
void FreeClipboardBlock(void* block);
// Hands the first bytes of block over as the data of format. The clipboard owns the block
// from then on, also when this answers false (not open, or not emptied since opening).
bool SetClipboardData(uint32_t format, void* block, size_t bytes);
// Ends the access; what was handed over since EmptyClipboard becomes the clipboard's content.
void CloseClipboard();

// ---------------------------------------------------------------------------------------
// Shell
// Opens an address with the platform's handler for it; false when that failed.
bool OpenAddress(const char16_t* address);

// ---------------------------------------------------------------------------------------
// Assistive technology and keyboard focus
// Parts of a top-level window's client area that read as documents (the reader's panes).
// The reader describes them with callbacks; the backend calls them whenever assistive
// technology reads the window or the keyboard focus moves between them, so the answers
// always follow the current state.
struct AccessibleDocuments {
  // How many documents the client area holds now.
  int (*count)(Window* window);
  // The name of document index and its rectangle in client coordinates; false when there
  // is no such document.
  bool (*describe)(Window* window, int index, std::u16string* name, Rect* rect);
  // Its text in reading order: the rows shown now, or the whole article when whole is set.
  std::u16string (*text)(Window* window, int index, bool whole);
  // The keyboard focus moved to document index: it becomes the one keys act on.
  void (*focus)(Window* window, int index);
  // The selection of document index as offsets into its whole text, end exclusive; false
  // when nothing is selected there. None: documents have no selection.
  bool (*selection)(Window* window, int index, int* start, int* end);
};
// Makes documents (kept by pointer; none takes them away) the description of window's
// client area. False for a window that is not a top-level window of a registered class.
bool SetAccessibleDocuments(Window* window, const AccessibleDocuments* documents);
// Tells assistive technology that the selection of document index of window's client area
// changed (made, moved or cleared); the backend reads the new one through the documents'
// selection callback. False when window has no such document.
bool NotifyAccessibleSelection(Window* window, int index);

// Gives a window (a scroll bar, a control) the name assistive technology speaks for it; the
// backend shows name in the interface's language (context "Accessibility" of
// platform/ui_text.h). False for none.
bool SetAccessibleName(Window* window, const char16_t* name);

// ---------------------------------------------------------------------------------------
// The interface's language
// The translation of source, a text marked with SOLMAR_TEXT in context, into the language
// the interface speaks; source itself when the interface is in English or the text has no
// translation. For texts the reader puts together from pieces; whole texts handed to menus,
// dialogs and message boxes are translated by the backend.
std::u16string TranslateText(const char* context, const char16_t* source);
// Whether the interface is laid out right to left (a Hebrew interface): menu bar from the
// right, scroll bars at the left of the panes, dialogs mirrored.
bool IsLayoutRightToLeft();

// ---------------------------------------------------------------------------------------
// Font families, control fonts and owner-drawn buttons (the font chooser and the About box)
constexpr uint8_t kHebrewCharset = 177;
// Called once per font family; answering false stops the enumeration.
using FontFamilyProc = bool (*)(const FontDescription& family, intptr_t param);
// Hands proc every font family the platform offers on dc's device, in the platform's
// order: face (families whose names do not fit in 31 units are left out), charset
// kHebrewCharset when the family writes Hebrew, else 0; height and weight 0. Answers false
// when proc stopped it.
bool EnumerateFontFamilies(Dc* dc, FontFamilyProc proc, intptr_t param);
// The font a control shows its text in: face, height in pixels (ascent + descent), weight
// and underline. An empty face or a height of 0 stand for the platform's defaults. False
// for none.
bool GetWindowFont(Window* control, FontDescription* description);
// Gives a window a new size, keeping its place (a child's in its parent's client
// coordinates) and its stacking, and shows it. False for none.
bool SizeWindow(Window* window, int32_t width, int32_t height);
// The widths of the platform's edge of a control, across and down (SystemMetric).
constexpr int kSystemMetricEdgeX = 45;
constexpr int kSystemMetricEdgeY = 46;
// A button of style kBsOwnerDraw shows nothing of its own: whenever it needs painting its
// dialog's procedure gets kMsgDrawItem with the control's id as the first parameter and a
// DrawItem* as the second. The context has the control's font selected, starts transparent
// white and is valid only during the message.
constexpr uint32_t kMsgDrawItem = 43;
struct DrawItem {
  int controlId;
  Window* control;
  Dc* dc;
  Rect rect;  // the whole control, from 0, 0
};

// ---------------------------------------------------------------------------------------
// Printing
// A print job draws sheets of paper through one drawing context whose units are
// kPrintUnitsPerInch, with 0, 0 at the paper's top-left corner. Fonts are chosen by height
// in these units; measuring works from the start, drawing lands on the current sheet.
struct PrintJob;
constexpr int32_t kPrintUnitsPerInch = 720;
enum class PaperSize { kA4, kLetter };
struct PrintPageRange {
  uint16_t first, last;  // book pages, first <= last
};
struct PrintSheetGeometry {
  int32_t width, height;  // the whole sheet
  Rect printable;         // the part the device can print on
};
// A job writing a PDF file at path (UTF-16, 0-terminated) on paper of that size, without a
// window; none when the file cannot be written.
PrintJob* BeginPdfJob(const char16_t* path, PaperSize paper);
// The platform's print dialog over owner, offering the current page, a range of pages from
// 1 to pageCount, or all of them (and printing to a file). None when the user cancelled it
// or no job could be begun; otherwise *ranges holds the pages chosen, in order.
PrintJob* BeginPrintJobWithDialog(Window* owner, uint16_t currentPage, uint16_t pageCount,
                                  std::vector<PrintPageRange>* ranges);
// The sheet's size and printable part, in print units; false for none.
bool PrintJobGeometry(PrintJob* job, PrintSheetGeometry* geometry);
// The job's drawing context, valid until EndPrintJob; none for none.
Dc* PrintJobDc(PrintJob* job);
// Starts the next sheet (the first call starts the first one); false when the device
// refused it, and the job is then to be ended unfinished.
bool PrintJobNewSheet(PrintJob* job);
// Tells the user how far the job has got (text in reading order, done of total steps);
// answers false once the user asked to stop it.
bool PrintJobProgress(PrintJob* job, const char16_t* text, int32_t done, int32_t total);
// Ends the job and frees it. finished: the sheets go to the printer or the file, and the
// answer says whether they got there; otherwise nothing is printed (a file is removed) and
// the answer is false.
bool EndPrintJob(PrintJob* job, bool finished);

// ---------------------------------------------------------------------------------------
// System
struct OsVersion {
  uint32_t major, minor;
};
OsVersion GetOsVersion();
// Full path of the running program, 0-terminated into buffer (capacity in units); the
// number of units written, 0 on failure or when the path and its 0 do not fit (a cut path
// would name another file).
uint32_t GetProgramPath(char16_t* buffer, uint32_t capacity);
// Lets the platform handle pending input (long operations call it between steps).
void Yield();
// Asks the message loop to end with the exit code once the current message is handled.
void PostQuitMessage(int exitCode);

}  // namespace platform
