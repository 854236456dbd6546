// Controls of the fake platform backend, for tests.
//
// The fake is deterministic: resources come from a pack or blocks a test installs, the
// heap counts and can fail chosen allocations, and message boxes are recorded and answered
// from a script. Call ResetAll() at the start of every test.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/menu_marks.h"
#include "platform/platform.h"

namespace fake {

// Resets every area of the fake to its initial state.
void ResetAll();
// Forgets what the fake recorded (draw calls, sent and default-processed messages, dialogs
// run, message boxes shown with their script, clipboard calls, opened addresses, shell
// calls) and the windows already destroyed, keeping every live object and setting. For
// long runs whose records would otherwise grow without end.
void TrimRecords();

// --- Resources -------------------------------------------------------------------------
void ResetResources();
// Makes the bytes of a pack (see platform/pack.h) the program's resources. False when the
// pack does not parse.
bool UsePack(std::vector<uint8_t> packBytes);
// Adds or replaces one resource.
void AddResource(uint32_t id, uint32_t type, std::vector<uint8_t> bytes);
// Makes LoadResource of that identifier fail (the resource is still found and sized).
void FailResourceLoad(uint32_t id);

// --- Heap ------------------------------------------------------------------------------
void ResetHeap();
// The nth allocation from now (1 = the next one) fails; 0 cancels.
void FailAllocation(int nth);
// Every allocation from the nth one on fails; 0 cancels.
void FailAllocationsFrom(int nth);
int AllocationsMade();     // since the last reset, failed ones included
int LiveBlocks();          // allocated and not yet freed
size_t LiveBytes();

// --- Message boxes ---------------------------------------------------------------------
struct RecordedMessageBox {
  platform::Window* owner;
  bool ownerVisible;       // the owner was on screen when the box appeared
  std::u16string text;
  bool hasCaption;         // false: the platform's default caption was asked for
  std::u16string caption;
  uint32_t buttons;        // type & kMbButtonsMask
  uint32_t icon;           // type & kMbIconMask
};
void ResetMessageBoxes();
const std::vector<RecordedMessageBox>& MessageBoxes();
// Answers given to the next message boxes, in order. When the script runs out a box is
// answered with its first button (OK, or Yes). kDismissBox stands for a box the user
// dismissed (Escape or the close button): it answers MessageBoxDismissAnswer.
constexpr int kDismissBox = -100;
void ScriptMessageBoxAnswers(std::vector<int> answers);

// --- Settings store, program path and quit request -------------------------------------
// An in-memory registry: keys by path, each holding named values with their kind
// (kSettingString, kSettingBinary, kSettingNumber) and exact bytes. Key paths follow the
// seam's rule: a leading "Software" in any case, the rest exact.
struct StoredSetting {
  uint32_t type;
  std::vector<uint8_t> data;
};
struct SettingWrite {  // one WriteSetting call that succeeded
  std::u16string key;
  std::u16string name;
  StoredSetting value;
  int batch;  // 1 for the first BeginSettingsBatch, 2 for the second...; 0 outside a batch
};
// Empties the store, clears the write log and the failures, sets the program path back to
// u"/usr/bin/solmar" and forgets the quit requests.
void ResetSettings();
// Store a value as an earlier run would have left it (the key is created); not logged.
void PutSetting(const std::u16string& key, const std::u16string& name, uint32_t type, std::vector<uint8_t> data);
void PutNumberSetting(const std::u16string& key, const std::u16string& name, uint32_t value);
void PutStringSetting(const std::u16string& key, const std::u16string& name, const std::u16string& text);  // + its 0
void PutBytesSetting(const std::u16string& key, const std::u16string& name, std::vector<uint8_t> bytes);
void PutSettingsKey(const std::u16string& key);  // an empty key
bool HasSettingsKey(const std::u16string& key);
// The value as stored now; none when absent.
const StoredSetting* FindSetting(const std::u16string& key, const std::u16string& name);
// Successful writes since the reset, in order.
const std::vector<SettingWrite>& SettingWrites();
// Opening this key fails from now on, with or without create.
void FailSettingsKeyOpen(const std::u16string& key);
// Reading the data of this value (in any key) fails from now on; asking its size still works.
void FailSettingRead(const std::u16string& name);
// Writing this value (in any key) fails from now on and leaves the stored one as it was.
void FailSettingWrite(const std::u16string& name);
int OpenSettingsKeys();  // opened and not yet closed
// Batches begun and ended since the reset. The fake stores each write at once; the
// writes' batch numbers show which change of the store they belong to.
int SettingsBatchesBegun();
int SettingsBatchesEnded();
// What GetProgramPath answers; empty makes it fail.
void SetProgramPath(const std::u16string& path);
// Exit codes given to PostQuitMessage, in order.
const std::vector<int>& QuitRequests();

// --- Windows, message loop, dialogs, menus and bars --------------------------------------
// Windows live in a table until the reset. A top-level window has no frame (its window
// rectangle is its client rectangle, at 0, 0) and its own drawing context (CreateDc), which
// GetWindowDc and BeginPaint hand out. SendMessage calls the procedure directly.
struct FakeWindowInfo {
  std::u16string className;
  std::u16string title;
  uint32_t exStyle;
  uint32_t style;
  platform::Rect rect;      // window rectangle: client coordinates of the parent for children
  platform::Window* parent;
  bool visible;
  bool destroyed;
  int lastShowState;        // -1 before ShowWindow
  bool foreign;             // a window of another program (AddForeignWindow)
  platform::Dc* dc;         // top-level windows of a registered class only
  int32_t scrollMinimum, scrollMaximum, scrollPosition;
  int scrollRedraws;        // SetScrollRange/SetScrollPosition calls asking to redraw
  int moves;                // MoveWindow calls
  bool lastMoveRepainted;
  int32_t scrollPage;       // SetScrollPage; 0 before
  bool maximized;           // top-level windows: SetWindowPlacement's state
  int32_t minimumWidth, minimumHeight;  // SetMinimumClientSize; dialogs: PlaceDialog's least size
  bool resizable;           // dialogs: PlaceDialog let the user change the size
  int placements;           // dialogs: PlaceDialog calls
};
void ResetWindows();
// none for a handle the fake does not know.
const FakeWindowInfo* WindowInfo(platform::Window* window);
// Every window made since the reset, in creation order (destroyed ones too).
const std::vector<platform::Window*>& AllWindows();
// Size of a top-level window created with kUseDefault; 240 x 320 after the reset.
void SetDefaultWindowSize(int32_t width, int32_t height);
// What ScreenWorkAreas answers, the primary first; one screen 0, 0, 1024, 768 after the reset.
void SetScreens(std::vector<platform::Rect> workAreas);
// CreateWindow of that class fails from now on.
void FailWindowCreation(const std::u16string& className);
// A window of another program, e.g. the task bar; FindWindow finds it.
platform::Window* AddForeignWindow(const std::u16string& className, const std::u16string& title, bool visible);
// What GetForegroundWindow answers (none after the reset).
void SetForeground(platform::Window* window);
// Windows SetForegroundWindow was called with, in order.
const std::vector<platform::Window*>& ForegroundRequests();
struct MessageCall {
  platform::Window* window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};
// Messages given to DefWindowProc, and messages sent with SendMessage, in order.
const std::vector<MessageCall>& DefaultProcessing();
const std::vector<MessageCall>& SentMessages();
int WindowDcsOut();  // taken with GetWindowDc and not given back
int PaintsBegun();
int PaintsEnded();

// The message loop dispatches the queued messages in order (a key-down whose key and
// modifiers match an accelerator becomes that command instead) until a quit request; when
// the queue runs dry first it answers -1.
void QueueMessage(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                  uint16_t modifiers = 0);
// The accelerators of the last RunMessageLoop, and how many loops ran.
const std::vector<platform::Accelerator>& LoopAccelerators();
int MessageLoopsRun();

// Dialogs run from a script. DialogBox of a scripted template makes a dialog window (a child
// of owner) with the controls of its template (platform/dialog_template.h; a template the
// program does not carry gets none), sends it the init-dialog message, then kMsgActivate
// (kWaActive), then runs the script's steps in order until the procedure calls EndDialog
// (when the script runs out the dialog ends with 0), and last kMsgDestroy. A dialog that
// ends while steps of its script are left aborts the test with a message: those steps, and
// the checks among them, would otherwise never run. An unscripted
// template cannot be made (-1). A dialog has its own drawing context, as a window has.
// A dialog of a template is centred over its owner's window rectangle with its client size
// from the base units; one without a template lies at 0, 26 with the default window size.
struct ScriptedMessage {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};
void ScriptDialog(uint32_t templateId, std::vector<ScriptedMessage> messages);
// One step of a scripted dialog: something the user (or the test) does while it runs.
struct DialogStep {
  std::function<void(platform::Window* dialog)> run;
};
// Whether a script must run to its end: kEveryStep (tests) or kMayEndEarly (random use, whose
// taps may end a dialog at any step).
enum class ScriptEnd { kEveryStep, kMayEndEarly };
void ScriptDialogSteps(uint32_t templateId, std::vector<DialogStep> steps, ScriptEnd end = ScriptEnd::kEveryStep);
// The message as the procedure gets it.
DialogStep SendToDialog(uint32_t message, uintptr_t wParam, intptr_t lParam);
// A button press: the command MakeLong(id, kBnClicked) with the control of that id (none
// for OK and Cancel without a control, as the caption's OK and the close button send them).
DialogStep PressButton(int id);
// The user replaces an edit box's text: the caret at its end, then kEnChange.
DialogStep TypeText(int id, std::u16string text);
// The user types keys into an edit box, one character each, through the box's typed
// character map: each goes in place of the selection (kEnChange after each). In a box that
// reads right to left (kEsRightToLeftReading) the fake keeps visual order, so each
// character lands in front of the caret, as a reading-order backend's typing looks through
// the seam; elsewhere after it.
DialogStep TypeKeys(int id, std::u16string keys);
// A press of the stylus or left button at client pixels x, y of the dialog.
DialogStep TapDialog(int32_t x, int32_t y);
// The user selects item index of a list box (kLbnSelChange follows when it notifies).
DialogStep SelectListItem(int id, int index);
// Runs check on the running dialog, e.g. to look at its controls between two steps.
DialogStep Inspect(std::function<void(platform::Window* dialog)> check);

struct RecordedDialog {
  uint32_t templateId;
  platform::Window* owner;
  platform::Window* dialog;
  intptr_t result;
  std::vector<MessageCall> messages;  // every message its procedure got, in order
};
const std::vector<RecordedDialog>& Dialogs();
// What GetDialogBaseUnits answers: 8 and 16 after the reset (a dialog unit is 2 x 2 pixels).
void SetDialogBaseUnits(uint16_t horizontal, uint16_t vertical);

// Controls of fake dialogs: their state, as the seam's operations left it.
struct FakeListItem {
  std::u16string text;
  intptr_t data;
};
struct FakeControl {
  int id;
  platform::ControlKind kind;
  uint32_t style;
  std::u16string text;
  platform::Font* font;      // none: the dialog's font
  bool enabled;
  uint32_t limit;            // edit: 0 = no limit
  uint32_t selectionStart, selectionEnd;
  std::u16string undoText;   // edit: the text an undo would bring back
  bool canUndo;
  bool checked;              // radio buttons
  uint32_t pictureId;        // pictures: 0 when the bitmap could not be loaded
  std::vector<FakeListItem> items;
  int selection;             // list boxes and result lists: -1 for none
  std::vector<std::pair<std::u16string, int16_t>> columns;  // result lists: title, width
  int rowCount;              // result lists
  platform::TypedCharacterMap typedMap;  // edit: what typed characters go through, or none
};
// none for a window that is no control of a fake dialog.
const FakeControl* ControlInfo(platform::Window* control);
// The controls of a dialog in template order; empty for none.
std::vector<platform::Window*> DialogControls(platform::Window* dialog);
// The window SetFocus (or the dialog's default focus) gave the focus to last.
platform::Window* FocusWindow();
enum class ControlOp {
  kSetText, kSetFont, kEnable, kFocus, kLimitText, kSetSelection, kReplaceSelection, kCheck,
  kListAdd, kListInsert, kListDelete, kListReset, kListSetData, kListSetSelection, kListSelectPrefix,
  kResultColumns, kResultRowCount, kResultSelect,
};
// One call of the seam that changed a dialog or a control.
struct ControlCall {
  platform::Window* window;
  int id;                    // the control's id; kNoControlId for a dialog
  ControlOp op;
  std::u16string text;       // the text or prefix given
  int64_t a, b;              // numbers given: selection, limit, index, data, check, redraw
};
const std::vector<ControlCall>& ControlCalls();
// Non-modal dialogs (CreateDialog) are made as DialogBox makes a dialog, without a script:
// init-dialog, then kMsgActivate (kWaActive); they stay until DestroyWindow. Tests act on
// them with the functions below (or run a DialogStep's run on them).
// The cells of row of a result list as drawing it would ask for them: kMsgGetRowCell for
// each column in order. Empty for a row outside the list or a control that is none.
std::vector<platform::RowCell> ResultListRow(platform::Window* list, int row);
// kMsgGetRowCell messages sent since the reset (rows drawn lazily ask for few).
int RowCellRequests();
// A key pressed while the result list has the focus: Up, Down, Page Up and Down (10 rows),
// Home and End move the selection within the rows (Down from none selects the first);
// Enter sends kIdOk and Escape kIdCancel to its dialog, as the platform's dialog does.
void ResultListKey(platform::Window* list, uint32_t key);
// A double click on row: it becomes the selection, then MakeLong(id, kLbnDblClk).
void ResultListDoubleClick(platform::Window* list, int row);
// Menus and bars.
struct FakeMenuItem {
  uint16_t command;      // 0: separator
  std::u16string text;
  platform::MenuMark mark;
};
// The items of a menu in order, popups' items included; empty for none.
std::vector<FakeMenuItem> MenuItems(platform::Menu* menu);
struct FakeBarInfo {
  bool isMenuBar;                           // else a command bar
  uint32_t flags;                           // CreateMenuBar flags
  std::vector<std::u16string> buttonCaptions;  // menu-bar buttons
  std::vector<std::u16string> tips;
  uint32_t bitmapId;
  int imageCount;
  int32_t imageWidth, imageHeight;
  std::vector<platform::ToolButton> buttons;
  bool closeButton;
};
const FakeBarInfo* BarInfo(platform::Window* bar);
// BarHeight of every bar made from now on; 26 after the reset.
void SetBarHeight(int32_t height);
// CreateMenuBar and CreateCommandBar fail from now on.
void FailBarCreation(bool fail);

// --- Shell, single instance, system ------------------------------------------------------
void ResetShell();
// SetFullScreenState calls (window, state), in order.
const std::vector<std::pair<platform::Window*, uint32_t>>& FullScreenStates();
int SettingChangesHandled();
// ForceInputPanelDown calls, in order.
const std::vector<platform::Window*>& InputPanelsForcedDown();
// ShellInitDialog calls (dialog, flags), in order.
const std::vector<std::pair<platform::Window*, uint32_t>>& ShellDialogInits();
// Another process holds the instance name: ClaimSingleInstance fails and
// SendInstanceRequest reaches it.
void SetOtherInstanceRunning(bool running);
const std::vector<platform::InstanceRequest>& InstanceRequestsSent();
// The text each request carried (empty without one), in the same order.
const std::vector<std::u16string>& InstanceRequestTexts();
platform::Window* InstanceRequestWindow();  // given to ServeInstanceRequests
bool InstanceClaimed();
// What GetOsVersion answers; 5.1 after the reset.
void SetOsVersion(uint32_t major, uint32_t minor);
int YieldCalls();

// --- Pictures ----------------------------------------------------------------------------
// LoadBitmap gives the program's pictures with their sizes (113: 32 x 32, 114: 96 x 16,
// 119: 154 x 95, 201..203: 9 x 9) and none for other ids; LoadIcon gives icon 101.
// DeleteBitmap of a bitmap not loaded, or already released, aborts.
// A loaded bitmap records the picture colours (ink, ground) given to SetChromeColours
// before it was loaded: black on white until then.
void ResetPictures();
void FailBitmapLoad(uint32_t id);  // LoadBitmap of id gives none from now on
int LiveLoadedBitmaps();           // loaded and not yet released
// Every ChromeColours given to SetChromeColours since the reset, in order.
const std::vector<platform::ChromeColours>& ChromeColoursGiven();
// What DesktopPrefersDark answers (false after the reset). Changing it sends nothing: a
// test sends kMsgSysColourChange itself, as the desktop would.
void SetDesktopPrefersDark(bool dark);

// --- Drawing ---------------------------------------------------------------------------
// Metrics are fixed so tests can compute every position by hand. A font's text height is
// its description's height, or 12 when that is 0 (the default size); every display unit,
// whatever it is, is text height / 2 pixels wide (truncated). Ascent = height - height / 4,
// descent = height / 4; averageCharWidth = maxCharWidth = height / 2. A context's default
// font is the description {height 0, weight 400, empty face}, so its text height is 12.
// A new context has text colour 0, background colour 0xFFFFFF and mode kBkOpaque.
// CharactersFitting answers
// min(count, maxWidth / unit width); TextExtent answers count x unit width and the height.
// PixelsPerInch is 96; SystemMetric(kSystemMetricScrollBarWidth) is 13, and
// kSystemMetricPaneMarginPercent 0 unless SetPaneMarginPercent says otherwise.
enum class DrawOp {
  kText,        // DrawTextCentred: rect, text and the font, colours and mode in effect
  kRectangle,   // DrawRectangle: rect, pen (penColour / hasPen) and brush (brushColour / hasBrush)
  kFill,        // FillRect: rect and the brush given (brushColour, stockBrush)
  kBitmapCell,  // CopyBitmapCell: rect = the 9 x 9 target, source = bitmap id and cell
  kSelectFont,  // font = the description now selected
  kSetTextColour,
  kSetBackgroundColour,
  kSetBackgroundMode,
};
struct DrawCall {
  DrawOp op;
  platform::Dc* dc;
  platform::Rect rect;
  std::u16string text;
  platform::FontDescription font;  // the context's font at the call
  uint32_t textColour;             // the context's state at the call (after a Set...)
  uint32_t backgroundColour;
  int backgroundMode;
  bool hasPen;
  uint32_t penColour;
  bool hasBrush;
  uint32_t brushColour;
  int stockBrush;                  // -1 for a solid brush made by CreateSolidBrush
  uint32_t bitmapId;
  int32_t sourceX, sourceY;
};
// The picture behind a Bitmap handle of the fake: an identifier and a size.
struct FakeBitmap {
  uint32_t id;
  int32_t width, height;
  uint32_t ink, ground;  // the picture colours it was drawn in
};

void ResetDrawing();
void SetPaneMarginPercent(int32_t percent);
// A drawing context in its initial state; DeleteDc releases it.
platform::Dc* CreateDc();
void DeleteDc(platform::Dc* dc);
// Every recorded call, in order, and the calls of one kind.
const std::vector<DrawCall>& DrawCalls();
std::vector<DrawCall> DrawCallsOf(DrawOp op);
void ClearDrawCalls();
// The context's current state.
platform::FontDescription SelectedFont(platform::Dc* dc);
uint32_t TextColourOf(platform::Dc* dc);
uint32_t BackgroundColourOf(platform::Dc* dc);
int BackgroundModeOf(platform::Dc* dc);
// Objects created and not yet deleted, to prove nothing leaks.
int LiveFonts();
int LivePens();
int LiveBrushes();
int FontsCreated();  // since the reset
// Creation of that kind of object fails from now on (until the reset).
void FailFontCreation(bool fail);
void FailPenCreation(bool fail);
void FailBrushCreation(bool fail);
// A bitmap handle for tests and for the fake's picture loading; released by the reset.
platform::Bitmap* MakeBitmap(uint32_t id, int32_t width, int32_t height);
const FakeBitmap* BitmapInfo(platform::Bitmap* bitmap);
// The description a font of the fake was made from; false for none.
bool FontDescriptionOf(platform::Font* font, platform::FontDescription* description);

// --- Font families, owner-drawn controls, opened addresses --------------------------------
// EnumerateFontFamilies hands these faces in this order (names longer than 31 units are
// left out). After the reset: "Tahoma", "David CLM" (Hebrew), "DejaVu Sans",
// "Frank Ruehl CLM" (Hebrew). GetWindowFont of a control without a font of its own answers
// the default description {0, 400, empty face}; SystemMetric(kSystemMetricEdgeX / Y) is 2.
struct FakeFontFamily {
  std::u16string face;
  uint8_t charset;
};
void ResetFontChooserSupport();
void SetFontFamilies(std::vector<FakeFontFamily> families);
int FontFamiliesHanded();  // families given to an enumeration's procedure since the reset
// The owner-drawn control id of the running dialog asks to be painted: kMsgDrawItem with a
// fresh context holding the control's font.
DialogStep DrawControl(int id);
// Addresses given to OpenAddress, in order; FailOpenAddress makes it answer false.
const std::vector<std::u16string>& OpenedAddresses();
void FailOpenAddress(bool fail);

// --- Assistive technology ---------------------------------------------------------------
// What SetAccessibleDocuments last gave a window; none when nothing (or none) was given.
const platform::AccessibleDocuments* AccessibleDocumentsOf(platform::Window* window);
// The name SetAccessibleName gave a window; empty when none.
std::u16string AccessibleNameOf(platform::Window* window);
// Each NotifyAccessibleSelection that answered true since the reset, in order: the window
// and the document's index.
const std::vector<std::pair<platform::Window*, int>>& AccessibleSelectionNotices();
void ResetAccessibility();

// --- The interface's language ----------------------------------------------------------
// After the reset the interface is English (TranslateText hands every text back as it is)
// and left to right.
void ResetLanguage();
// IsLayoutRightToLeft answers rightToLeft from now on; dialogs made from now on are
// mirrored.
void SetLayoutRightToLeft(bool rightToLeft);
// TranslateText(context, source) answers translation from now on.
void SetTranslation(const std::string& context, const std::u16string& source, const std::u16string& translation);

// --- Clipboard -----------------------------------------------------------------------------
// An in-memory clipboard that works as the handheld's does: EmptyClipboard drops the
// content at once and SetClipboardData stores at once. Every call is logged in order.
enum class ClipboardStep { kOpen, kOpenRefused, kEmpty, kRead, kAlloc, kAllocRefused, kFree, kSet, kClose };
struct ClipboardCall {
  ClipboardStep step;
  uint32_t format;  // kRead and kSet
  size_t bytes;     // kAlloc, kAllocRefused and kSet
};
void ResetClipboard();
const std::vector<ClipboardCall>& ClipboardCalls();
// The steps alone, in order.
std::vector<ClipboardStep> ClipboardSteps();
// The data held under format now; none when there is none.
const std::vector<uint8_t>* ClipboardContent(uint32_t format);
// Data as another program left it; not logged.
void PutClipboardContent(uint32_t format, std::vector<uint8_t> bytes);
// OpenClipboard fails from now on (until the reset or a call with false).
void FailClipboardOpen(bool fail);
// The nth clipboard block asked for from now on (1 = the next one) is refused; 0 cancels.
void FailClipboardBlock(int nth);
bool ClipboardIsOpen();
int LiveClipboardBlocks();  // allocated and neither handed over nor released

}  // namespace fake
