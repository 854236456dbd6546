// Menus and bars on Qt: the reader's bar becomes the main window's native menu bar and a
// fixed tool bar. Both sit outside the client area. Menu items and tool buttons send their
// command as a command message to the owner window.
//
// The check marks are the reader's: it sets and reads them through the seam, so a click on
// a checkable item must not flip the mark by itself; the stored state is put back before
// the command is sent.
#include <QActionGroup>
#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/menu_marks.h"
#include "platform/platform.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_language.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_window_access.h"

namespace platform {

struct Menu {
  struct Item {
    uint16_t command;
    QPointer<QAction> action;
    MenuMark mark{};
  };
  std::vector<Item> items;
  std::vector<Menu*> popups;  // searched after the items
  QActionGroup* radioGroup = nullptr;
};

}  // namespace platform

namespace platform::qt {

struct BarState {
  bool isMenuBar = false;
  Window* owner = nullptr;
  QPointer<QToolBar> toolBar;
  Menu* menu = nullptr;                 // the whole menu
  std::vector<uint16_t> buttonCommands; // menu-bar buttons, parallel to menu->popups
  std::vector<QString> tips;
  std::vector<QIcon> images;             // each with a pixmap per device pixel ratio
  size_t buttonCount = 0;
  // The pictures added, to draw them again in new colours.
  struct Strip {
    uint32_t bitmapId;
    int count;
    int32_t width, height;
  };
  std::vector<Strip> strips;
};

namespace {

std::vector<std::unique_ptr<Menu>>& Menus() {
  static std::vector<std::unique_ptr<Menu>> menus;
  return menus;
}
std::vector<std::unique_ptr<BarState>>& Bars() {
  static std::vector<std::unique_ptr<BarState>> bars;
  return bars;
}

Menu* NewMenu() {
  Menus().push_back(std::make_unique<Menu>());
  return Menus().back().get();
}

// The icon turned round left to right, drawn (like the icon itself) only at the scales a
// screen asks for.
QIcon Mirrored(const QIcon& icon, const QSize& size) {
  return qt::DrawnIcon(
      [icon, size](QSize pixels) {
        const qreal ratio = size.width() > 0 ? qreal(pixels.width()) / size.width() : 1.0;
        QImage image = icon.pixmap(size, ratio).toImage().mirrored(true, false);
        return image;
      },
      {size}, false);
}

QMainWindow* FrameOf(Window* owner) { return qobject_cast<QMainWindow*>(WidgetOf(owner)); }

Menu::Item* FindItem(Menu* menu, uint16_t command) {
  if (!menu || command == 0) return nullptr;
  for (Menu::Item& item : menu->items)
    if (item.command == command) return &item;
  for (Menu* popup : menu->popups)
    if (Menu::Item* item = FindItem(popup, command)) return item;
  return nullptr;
}

// Puts every action's mark back to the stored state.
void RestoreMarks(Menu* menu) {
  for (Menu::Item& item : menu->items)
    if (item.action && item.action->isCheckable() && item.action->isChecked() != item.mark.checked)
      item.action->setChecked(item.mark.checked);
  for (Menu* popup : menu->popups) RestoreMarks(popup);
}

void SendCommand(Window* owner, uint16_t command) {
  SendMessage(owner, kMsgCommand, uintptr_t(MakeLong(command, 0)), 0);
}

// The menu bar of the owner's frame, with one menu per popup of the template.
Menu* BuildMenu(Window* owner, const MenuTemplate& tmpl) {
  QMainWindow* frame = FrameOf(owner);
  if (!frame) return nullptr;
  QMenuBar* menuBar = frame->menuBar();
  Menu* whole = NewMenu();
  for (size_t p = 0; p < tmpl.count; ++p) {
    const PopupTemplate& popup = tmpl.popups[p];
    QMenu* qmenu = menuBar->addMenu(Translated("Menu", popup.title));
    Menu* menu = NewMenu();
    whole->popups.push_back(menu);
    for (size_t i = 0; i < popup.count; ++i) {
      const MenuItemTemplate& item = popup.items[i];
      if (item.command == 0) {
        qmenu->addSeparator();
        continue;
      }
      // Text and shortcut text: Qt shows what follows a tab at the right, as the handheld
      // showed what follows 0x08.
      QString text = Translated("Menu", item.text);
      text.replace(QChar(0x08), QChar('\t'));
      QAction* action = qmenu->addAction(text);
      menu->items.push_back({item.command, action, MenuMark{}});
      const uint16_t command = item.command;
      QObject::connect(action, &QAction::triggered, action, [owner, whole, command] {
        RestoreMarks(whole);
        SendCommand(owner, command);
      });
    }
  }
  return whole;
}

BarState* StateOf(Window* bar) { return bar && !bar->destroyed && bar->kind == Window::Kind::kBar ? bar->bar : nullptr; }

Window* NewBar(Window* owner, bool isMenuBar) {
  QMainWindow* frame = FrameOf(owner);
  if (!frame) return nullptr;
  Bars().push_back(std::make_unique<BarState>());
  BarState* state = Bars().back().get();
  state->isMenuBar = isMenuBar;
  state->owner = owner;
  auto* toolBar = new QToolBar(QCoreApplication::translate("ToolBar", "Tools"), frame);
  toolBar->setObjectName(QStringLiteral("ToolBar"));
  // The button Qt shows when the bar is too narrow for its buttons: a check box to a
  // screen reader, named for what it does.
  if (auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setAccessibleName(QCoreApplication::translate("ToolBar", "More tool buttons"));
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  toolBar->setIconSize(QSize(16, 16));
  toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolBar->setFocusPolicy(Qt::NoFocus);
  toolBar->setVisible(false);
  frame->addToolBar(Qt::TopToolBarArea, toolBar);
  state->toolBar = toolBar;
  Window* record = NewWindowRecord(Window::Kind::kBar, toolBar);
  record->parent = owner;
  record->bar = state;
  return record;
}

}  // namespace

}  // namespace platform::qt

namespace platform {

Window* CreateMenuBar(Window* owner, const MenuTemplate& menu, const MenuBarButton* buttons, size_t count,
                      uint32_t /*flags*/) {
  Window* bar = qt::NewBar(owner, true);
  if (!bar) return nullptr;
  bar->bar->menu = qt::BuildMenu(owner, menu);
  for (size_t i = 0; i < count; ++i) bar->bar->buttonCommands.push_back(buttons[i].command);
  return bar;
}

Window* CreateCommandBar(Window* owner, int /*id*/) { return qt::NewBar(owner, false); }

bool CommandBarInsertMenu(Window* bar, const MenuTemplate& menu) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state || state->isMenuBar || state->menu) return false;
  state->menu = qt::BuildMenu(state->owner, menu);
  return state->menu != nullptr;
}

bool CommandBarAddCloseButton(Window* bar) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state || state->isMenuBar || !state->toolBar) return false;
  QToolBar* toolBar = state->toolBar;
  QAction* close = toolBar->addAction(toolBar->style()->standardIcon(QStyle::SP_TitleBarCloseButton), QStringLiteral("Close"));
  QWidget* frame = qt::WidgetOf(state->owner);
  QObject::connect(close, &QAction::triggered, toolBar, [frame] {
    if (frame) frame->close();
  });
  return true;
}

int32_t BarHeight(Window*) { return 0; }

Menu* BarMenu(Window* bar, uint16_t buttonCommand) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state || !state->menu) return nullptr;
  if (!state->isMenuBar) return state->menu;
  for (size_t i = 0; i < state->buttonCommands.size() && i < state->menu->popups.size(); ++i)
    if (state->buttonCommands[i] == buttonCommand) return state->menu->popups[i];
  return nullptr;
}

bool BarAddTips(Window* bar, const char16_t* const* tips, size_t count) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state) return false;
  for (size_t i = 0; i < count; ++i) state->tips.push_back(qt::Translated("ToolBar", tips[i]));
  return true;
}

namespace qt {
namespace {

// The count cells of a picture strip as icons, each drawn when a screen first shows it and
// at that screen's scale, so a scaled screen gets cells drawn for it, not enlarged ones, and
// no start pays for scales nobody sees.
std::vector<QIcon> StripIcons(const BarState::Strip& s) {
  std::vector<QIcon> icons;
  icons.reserve(static_cast<size_t>(s.count));
  for (int i = 0; i < s.count; ++i) icons.push_back(PictureCellIcon(s.bitmapId, i, s.width, s.height));
  return icons;
}

const char kImageIndexProperty[] = "solmarImage";

}  // namespace

// Draws every bar's pictures again (in the colours given now) and gives the tool buttons
// their new icons.
void RefreshBarPictures() {
  for (const std::unique_ptr<BarState>& state : Bars()) {
    std::vector<QIcon> images;
    for (const BarState::Strip& strip : state->strips) {
      const std::vector<QIcon> icons = StripIcons(strip);
      images.insert(images.end(), icons.begin(), icons.end());
    }
    state->images = std::move(images);
    if (!state->toolBar) continue;
    for (QAction* action : state->toolBar->actions()) {
      const QVariant index = action->property(kImageIndexProperty);
      if (index.isValid() && index.toInt() >= 0 && size_t(index.toInt()) < state->images.size())
        action->setIcon(state->images[size_t(index.toInt())]);
    }
  }
}

}  // namespace qt

int BarAddBitmap(Window* bar, uint32_t bitmapId, int count, int32_t width, int32_t height) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state) return -1;
  if (!qt::HasPicture(bitmapId) || count < 0) return -1;
  const int first = int(state->images.size());
  state->strips.push_back({bitmapId, count, width, height});
  const std::vector<QIcon> icons = qt::StripIcons(state->strips.back());
  state->images.insert(state->images.end(), icons.begin(), icons.end());
  return first;
}

bool BarAddButtons(Window* bar, const ToolButton* buttons, size_t count) {
  qt::BarState* state = qt::StateOf(bar);
  if (!state || !state->toolBar) return false;
  for (size_t i = 0; i < count; ++i) {
    const ToolButton& button = buttons[i];
    // The first tip belongs to no button.
    const size_t tipIndex = ++state->buttonCount;
    const QString tip = tipIndex < state->tips.size() ? state->tips[tipIndex] : QString();
    QIcon icon = button.image >= 0 && size_t(button.image) < state->images.size()
                     ? state->images[size_t(button.image)]
                     : QIcon();
    if (button.pointsAlongLine && IsLayoutRightToLeft()) icon = qt::Mirrored(icon, state->toolBar->iconSize());
    QAction* action = state->toolBar->addAction(icon, tip);
    action->setProperty(qt::kImageIndexProperty, button.image);
    action->setToolTip(tip);
    action->setObjectName(QStringLiteral("command%1").arg(button.command));
    // Reachable with Tab (tool bars make their buttons NoFocus), named for screen readers.
    if (QWidget* widget = state->toolBar->widgetForAction(action)) {
      widget->setFocusPolicy(Qt::TabFocus);
      widget->setAccessibleName(tip);
    }
    Window* owner = state->owner;
    const uint16_t command = button.command;
    QObject::connect(action, &QAction::triggered, action, [owner, command] { qt::SendCommand(owner, command); });
  }
  return true;
}

bool CheckMenuItem(Menu* menu, uint16_t command, bool checked) {
  Menu::Item* item = qt::FindItem(menu, command);
  if (!item) return false;
  const bool was = SetCheckMark(&item->mark, checked);
  if (item->action) {
    item->action->setCheckable(true);
    item->action->setChecked(checked);
  }
  return was;
}

bool IsMenuItemChecked(Menu* menu, uint16_t command) {
  const Menu::Item* item = qt::FindItem(menu, command);
  return item && item->mark.checked;
}

bool CheckMenuRadioItem(Menu* menu, uint16_t first, uint16_t last, uint16_t check) {
  const auto find = [menu](uint16_t command) -> MenuMark* {
    Menu::Item* item = qt::FindItem(menu, command);
    return item ? &item->mark : nullptr;
  };
  if (!SetRadioMark(find, first, last, check)) return false;
  for (uint32_t c = first; c <= last; ++c) {
    Menu::Item* item = qt::FindItem(menu, uint16_t(c));
    if (!item || !item->action) continue;
    // An exclusive group makes the style draw radio marks.
    if (!item->action->actionGroup()) {
      if (!menu->radioGroup) menu->radioGroup = new QActionGroup(item->action->parent());
      menu->radioGroup->addAction(item->action);
    }
    item->action->setCheckable(true);
    item->action->setChecked(item->mark.checked);
  }
  return true;
}

}  // namespace platform
