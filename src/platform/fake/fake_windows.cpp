// Windows, the message loop, modal dialogs, menus and bars of the fake backend: a table of
// windows with recorded state, procedures called directly, scripted dialogs and loops.
#include <deque>
#include <map>
#include <memory>
#include <set>

#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace platform {

struct Menu {
  std::vector<fake::FakeMenuItem> items;
  std::vector<Menu*> popups;  // searched after the items
};

}  // namespace platform

namespace fake {
namespace {

using platform::Menu;
using platform::Window;

struct QueuedMessage {
  Window* window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  uint16_t modifiers;
};

struct WindowsState {
  std::vector<std::unique_ptr<Window>> windows;
  std::vector<Window*> handles;
  std::vector<std::unique_ptr<Menu>> menus;
  std::map<std::u16string, platform::WindowClass> classes;
  std::set<std::u16string> failingClasses;
  int32_t defaultWidth = 240, defaultHeight = 320;
  Window* foreground = nullptr;
  std::vector<Window*> foregroundRequests;
  std::vector<MessageCall> defaultCalls;
  std::vector<MessageCall> sent;
  int dcsOut = 0;
  int paintsBegun = 0;
  int paintsEnded = 0;
  std::deque<QueuedMessage> queue;
  std::vector<platform::Accelerator> accelerators;
  int loops = 0;
  int32_t barHeight = 26;
  bool failBars = false;
  std::vector<platform::Rect> screens{{0, 0, 1024, 768}};
};

WindowsState& State() {
  static WindowsState state;
  return state;
}

}  // namespace

bool Known(Window* w) {
  if (!w) return false;
  for (Window* h : State().handles)
    if (h == w) return true;
  return false;
}

Window* NewWindow(const std::u16string& className, const std::u16string& title, Window* parent) {
  auto window = std::make_unique<Window>();
  window->info.className = className;
  window->info.title = title;
  window->info.parent = parent;
  window->info.lastShowState = -1;
  Window* w = window.get();
  State().windows.push_back(std::move(window));
  State().handles.push_back(w);
  return w;
}

int32_t DefaultWindowWidth() { return State().defaultWidth; }
int32_t DefaultWindowHeight() { return State().defaultHeight; }

namespace {

Menu* NewMenu() {
  State().menus.push_back(std::make_unique<Menu>());
  return State().menus.back().get();
}

Menu* BuildPopup(const platform::PopupTemplate& popup) {
  Menu* menu = NewMenu();
  for (size_t i = 0; i < popup.count; ++i) {
    const platform::MenuItemTemplate& item = popup.items[i];
    menu->items.push_back({item.command, item.text ? std::u16string(item.text) : std::u16string(), {}});
  }
  return menu;
}

Menu* BuildMenu(const platform::MenuTemplate& menu) {
  Menu* whole = NewMenu();
  for (size_t i = 0; i < menu.count; ++i) whole->popups.push_back(BuildPopup(menu.popups[i]));
  return whole;
}

FakeMenuItem* FindItem(Menu* menu, uint16_t command) {
  if (!menu) return nullptr;
  for (FakeMenuItem& item : menu->items)
    if (item.command == command && command != 0) return &item;
  for (Menu* popup : menu->popups)
    if (FakeMenuItem* item = FindItem(popup, command)) return item;
  return nullptr;
}

platform::MenuMark* FindMark(Menu* menu, uint16_t command) {
  FakeMenuItem* item = FindItem(menu, command);
  return item ? &item->mark : nullptr;
}

void CollectItems(Menu* menu, std::vector<FakeMenuItem>* out) {
  if (!menu) return;
  out->insert(out->end(), menu->items.begin(), menu->items.end());
  for (Menu* popup : menu->popups) CollectItems(popup, out);
}

}  // namespace

void DestroyChildren(Window* parent) {
  for (Window* w : State().handles)
    if (w->info.parent == parent && !w->info.destroyed) {
      w->info.destroyed = true;
      w->info.visible = false;
      DestroyChildren(w);
    }
}

void ResetWindows() {
  for (Window* w : State().handles)
    if (w->info.dc) DeleteDc(w->info.dc);
  State() = WindowsState{};
  ResetDialogs();
}

void TrimWindows() {
  // First the records that point at windows, while every window still exists.
  TrimDialogRecords();
  WindowsState& state = State();
  std::vector<std::unique_ptr<Window>> kept;
  std::vector<Window*> handles;
  for (std::unique_ptr<Window>& w : state.windows) {
    if (w->info.destroyed && !w->info.foreign && w.get() != state.foreground) {
      if (w->info.dc) DeleteDc(w->info.dc);
      continue;
    }
    handles.push_back(w.get());
    kept.push_back(std::move(w));
  }
  state.windows = std::move(kept);
  state.handles = std::move(handles);
  state.foregroundRequests.clear();
  state.defaultCalls.clear();
  state.sent.clear();
}

const FakeWindowInfo* WindowInfo(platform::Window* window) { return Known(window) ? &window->info : nullptr; }
const std::vector<platform::Window*>& AllWindows() { return State().handles; }

void SetDefaultWindowSize(int32_t width, int32_t height) {
  State().defaultWidth = width;
  State().defaultHeight = height;
}

void SetScreens(std::vector<platform::Rect> workAreas) { State().screens = std::move(workAreas); }

void FailWindowCreation(const std::u16string& className) { State().failingClasses.insert(className); }

platform::Window* AddForeignWindow(const std::u16string& className, const std::u16string& title, bool visible) {
  Window* w = NewWindow(className, title, nullptr);
  w->info.foreign = true;
  w->info.visible = visible;
  return w;
}

void SetForeground(platform::Window* window) { State().foreground = window; }
const std::vector<platform::Window*>& ForegroundRequests() { return State().foregroundRequests; }
const std::vector<MessageCall>& DefaultProcessing() { return State().defaultCalls; }
const std::vector<MessageCall>& SentMessages() { return State().sent; }
int WindowDcsOut() { return State().dcsOut; }
int PaintsBegun() { return State().paintsBegun; }
int PaintsEnded() { return State().paintsEnded; }

void QueueMessage(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam, uint16_t modifiers) {
  State().queue.push_back({window, message, wParam, lParam, modifiers});
}

const std::vector<platform::Accelerator>& LoopAccelerators() { return State().accelerators; }
int MessageLoopsRun() { return State().loops; }

std::vector<FakeMenuItem> MenuItems(platform::Menu* menu) {
  std::vector<FakeMenuItem> out;
  CollectItems(menu, &out);
  return out;
}

const FakeBarInfo* BarInfo(platform::Window* bar) { return Known(bar) && bar->isBar ? &bar->bar : nullptr; }
void SetBarHeight(int32_t height) { State().barHeight = height; }
void FailBarCreation(bool fail) { State().failBars = fail; }

}  // namespace fake

namespace platform {

using fake::State;

bool RegisterWindowClass(const WindowClass& windowClass) {
  if (!windowClass.name || !windowClass.proc) return false;
  State().classes[windowClass.name] = windowClass;
  return true;
}

Window* CreateWindow(uint32_t exStyle, const char16_t* className, const char16_t* title, uint32_t style, int32_t x,
                     int32_t y, int32_t width, int32_t height, Window* parent, Menu* /*menu*/) {
  const std::u16string name = className ? className : u"";
  if (State().failingClasses.count(name)) return nullptr;
  const bool scrollBar = name == u"SCROLLBAR";
  auto cls = State().classes.find(name);
  if (!scrollBar && cls == State().classes.end()) return nullptr;
  if (scrollBar && !fake::Known(parent)) return nullptr;

  Window* w = fake::NewWindow(name, title ? title : u"", parent);
  w->info.exStyle = exStyle;
  w->info.style = style;
  // A top-level window shows once its create message is handled, not during it.
  w->info.visible = scrollBar && (style & kWsVisible) != 0;
  if (scrollBar) {
    const int32_t sw = width == kUseDefault ? SystemMetric(kSystemMetricScrollBarWidth) : width;
    const int32_t sh = height == kUseDefault ? 0 : height;
    w->info.rect = {x, y, x + sw, y + sh};
    return w;
  }
  const int32_t left = x == kUseDefault ? 0 : x, top = y == kUseDefault ? 0 : y;
  const int32_t ww = width == kUseDefault ? State().defaultWidth : width;
  const int32_t wh = height == kUseDefault ? State().defaultHeight : height;
  w->info.rect = {left, top, left + ww, top + wh};
  w->proc = cls->second.proc;
  w->info.dc = fake::CreateDc();
  if (w->proc(w, kMsgCreate, 0, 0) == -1) {
    w->info.destroyed = true;
    w->info.visible = false;
    fake::DestroyChildren(w);
    return nullptr;
  }
  w->info.visible = (style & kWsVisible) != 0;
  return w;
}

bool DestroyWindow(Window* window) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  if (window->proc) window->proc(window, kMsgDestroy, 0, 0);
  window->info.destroyed = true;
  window->info.visible = false;
  fake::DestroyChildren(window);
  // A destroyed window, or one inside it, no longer has the keyboard.
  fake::ForgetDestroyedFocus();
  return true;
}

Window* FindWindow(const char16_t* className, const char16_t* title) {
  const std::u16string cls = className ? className : u"", t = title ? title : u"";
  for (Window* w : State().handles)
    if (!w->info.destroyed && !w->info.parent && w->info.className == cls && w->info.title == t) return w;
  return nullptr;
}

Window* GetForegroundWindow() { return State().foreground; }

Window* GetParent(Window* window) { return fake::Known(window) ? window->info.parent : nullptr; }

bool SetForegroundWindow(Window* window) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  State().foregroundRequests.push_back(window);
  State().foreground = window;
  return true;
}

intptr_t SendMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  State().sent.push_back({window, message, wParam, lParam});
  if (!fake::Known(window) || window->info.destroyed || !window->proc) return 0;
  return window->proc(window, message, wParam, lParam);
}

intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  State().defaultCalls.push_back({window, message, wParam, lParam});
  return 0;
}

bool ShowWindow(Window* window, int showState) {
  if (!fake::Known(window)) return false;
  const bool was = window->info.visible;
  window->info.visible = showState != kSwHide;
  window->info.lastShowState = showState;
  return was;
}

bool IsWindowVisible(Window* window) { return fake::Known(window) && window->info.visible; }

void UpdateWindow(Window*) {}

void ShowFirstFrame(Window*, int) {}

bool GetWindowRect(Window* window, Rect* rect) {
  if (!fake::Known(window) || !rect) return false;
  *rect = window->info.rect;
  return true;
}

bool GetClientRect(Window* window, Rect* rect) {
  if (!fake::Known(window) || !rect) return false;
  const Rect& r = window->info.rect;
  *rect = {0, 0, r.right - r.left, r.bottom - r.top};
  return true;
}

bool MoveWindow(Window* window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  // A control of a mirrored dialog is placed from the dialog's right edge.
  const Window* dialog = window->info.parent;
  if (window->isControl && fake::Known(window->info.parent) && dialog->mirrored)
    x = MirroredLeft(x, width, dialog->info.rect.right - dialog->info.rect.left);
  window->info.rect = {x, y, x + width, y + height};
  window->info.moves++;
  window->info.lastMoveRepainted = repaint;
  return true;
}

Dc* GetWindowDc(Window* window) {
  if (!fake::Known(window) || window->info.destroyed || !window->info.dc) return nullptr;
  State().dcsOut++;
  return window->info.dc;
}

void ReleaseWindowDc(Window* window, Dc* dc) {
  if (fake::Known(window) && dc && dc == window->info.dc) State().dcsOut--;
}

Dc* BeginPaint(Window* window) {
  if (!fake::Known(window) || !window->info.dc) return nullptr;
  State().paintsBegun++;
  return window->info.dc;
}

void EndPaint(Window* window) {
  if (fake::Known(window)) State().paintsEnded++;
}

void SetScrollRange(Window* scrollBar, int32_t minimum, int32_t maximum, bool redraw) {
  if (!fake::Known(scrollBar)) return;
  fake::FakeWindowInfo& info = scrollBar->info;
  info.scrollMinimum = minimum;
  info.scrollMaximum = maximum;
  if (info.scrollPosition < minimum) info.scrollPosition = minimum;
  if (info.scrollPosition > maximum) info.scrollPosition = maximum;
  if (redraw) info.scrollRedraws++;
}

void SetScrollPosition(Window* scrollBar, int32_t position, bool redraw) {
  if (!fake::Known(scrollBar)) return;
  fake::FakeWindowInfo& info = scrollBar->info;
  info.scrollPosition = position < info.scrollMinimum   ? info.scrollMinimum
                        : position > info.scrollMaximum ? info.scrollMaximum
                                                        : position;
  if (redraw) info.scrollRedraws++;
}

void SetScrollPage(Window* scrollBar, int32_t page) {
  if (fake::Known(scrollBar)) scrollBar->info.scrollPage = page;
}

namespace {

bool IsTopLevel(Window* window) {
  return fake::Known(window) && !window->info.destroyed && !window->info.parent && !window->isBar &&
         !window->isDialog && !window->isControl;
}

}  // namespace

bool GetWindowPlacement(Window* window, WindowPlacement* placement) {
  if (!IsTopLevel(window) || !placement) return false;
  *placement = {window->info.rect, window->info.maximized};
  return true;
}

bool SetWindowPlacement(Window* window, const WindowPlacement& placement) {
  if (!IsTopLevel(window)) return false;
  window->info.rect = placement.normal;
  window->info.maximized = placement.maximized;
  return true;
}

bool SetMinimumClientSize(Window* window, int32_t width, int32_t height) {
  if (!IsTopLevel(window)) return false;
  window->info.minimumWidth = width;
  window->info.minimumHeight = height;
  return true;
}

int ScreenWorkAreas(Rect* areas, int capacity) {
  const auto& screens = State().screens;
  for (int i = 0; i < capacity && size_t(i) < screens.size(); ++i) areas[i] = screens[size_t(i)];
  return int(screens.size());
}

int RunMessageLoop(Window* window, const Accelerator* accelerators, size_t count) {
  auto& s = State();
  s.loops++;
  s.accelerators.assign(accelerators, accelerators + (accelerators ? count : 0));
  if (!fake::QuitRequests().empty()) return fake::QuitRequests().back();
  while (!s.queue.empty()) {
    const fake::QueuedMessage m = s.queue.front();
    s.queue.pop_front();
    bool translated = false;
    if (m.message == kMsgKeyDown) {
      for (const Accelerator& a : s.accelerators)
        if (a.key == m.wParam && a.modifiers == m.modifiers) {
          SendMessage(window, kMsgCommand, a.command, 0);
          translated = true;
          break;
        }
    }
    if (!translated) SendMessage(m.window, m.message, m.wParam, m.lParam);
    if (!fake::QuitRequests().empty()) return fake::QuitRequests().back();
  }
  return -1;
}

bool CheckMenuItem(Menu* menu, uint16_t command, bool checked) {
  fake::FakeMenuItem* item = fake::FindItem(menu, command);
  if (!item) return false;
  return platform::SetCheckMark(&item->mark, checked);
}

bool IsMenuItemChecked(Menu* menu, uint16_t command) {
  const fake::FakeMenuItem* item = fake::FindItem(menu, command);
  return item && item->mark.checked;
}

bool CheckMenuRadioItem(Menu* menu, uint16_t first, uint16_t last, uint16_t check) {
  return platform::SetRadioMark([menu](uint16_t command) { return fake::FindMark(menu, command); }, first, last,
                                check);
}

Window* CreateMenuBar(Window* owner, const MenuTemplate& menu, const MenuBarButton* buttons, size_t count,
                      uint32_t flags) {
  if (State().failBars || !fake::Known(owner)) return nullptr;
  Window* bar = fake::NewWindow(u"menu_worker", u"", owner);
  bar->isBar = true;
  bar->bar.isMenuBar = true;
  bar->bar.flags = flags;
  bar->barMenu = fake::BuildMenu(menu);
  for (size_t i = 0; i < count; ++i) {
    bar->bar.buttonCaptions.push_back(buttons[i].caption ? buttons[i].caption : u"");
    bar->buttonCommands.push_back(buttons[i].command);
  }
  bar->info.rect = {0, owner->info.rect.bottom - State().barHeight, owner->info.rect.right, owner->info.rect.bottom};
  return bar;
}

Window* CreateCommandBar(Window* owner, int /*id*/) {
  if (State().failBars || !fake::Known(owner)) return nullptr;
  Window* bar = fake::NewWindow(u"CommandBar", u"", owner);
  bar->isBar = true;
  bar->info.rect = {0, 0, owner->info.rect.right - owner->info.rect.left, State().barHeight};
  return bar;
}

bool CommandBarInsertMenu(Window* bar, const MenuTemplate& menu) {
  if (!fake::Known(bar) || !bar->isBar || bar->bar.isMenuBar) return false;
  bar->barMenu = fake::BuildMenu(menu);
  return true;
}

bool CommandBarAddCloseButton(Window* bar) {
  if (!fake::Known(bar) || !bar->isBar || bar->bar.isMenuBar) return false;
  bar->bar.closeButton = true;
  return true;
}

int32_t BarHeight(Window* bar) {
  if (!fake::Known(bar) || !bar->isBar) return 0;
  return bar->info.rect.bottom - bar->info.rect.top;
}

Menu* BarMenu(Window* bar, uint16_t buttonCommand) {
  if (!fake::Known(bar) || !bar->isBar || !bar->barMenu) return nullptr;
  if (!bar->bar.isMenuBar) return bar->barMenu;
  for (size_t i = 0; i < bar->buttonCommands.size(); ++i)
    if (bar->buttonCommands[i] == buttonCommand && i < bar->barMenu->popups.size()) return bar->barMenu->popups[i];
  return nullptr;
}

bool BarAddTips(Window* bar, const char16_t* const* tips, size_t count) {
  if (!fake::Known(bar) || !bar->isBar) return false;
  for (size_t i = 0; i < count; ++i) bar->bar.tips.push_back(tips[i] ? tips[i] : u"");
  return true;
}

int BarAddBitmap(Window* bar, uint32_t bitmapId, int count, int32_t width, int32_t height) {
  if (!fake::Known(bar) || !bar->isBar) return -1;
  bar->bar.bitmapId = bitmapId;
  bar->bar.imageCount = count;
  bar->bar.imageWidth = width;
  bar->bar.imageHeight = height;
  return 0;
}

bool BarAddButtons(Window* bar, const ToolButton* buttons, size_t count) {
  if (!fake::Known(bar) || !bar->isBar) return false;
  bar->bar.buttons.insert(bar->bar.buttons.end(), buttons, buttons + count);
  return true;
}

}  // namespace platform
