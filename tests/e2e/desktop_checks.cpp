// End-to-end checks of the reader as a desktop program, on Qt's off-screen platform with a
// private settings directory:
//
//   e2e_desktop hidpi SOLMAR          `solmar --screenshot` at 100 %, 150 % and 200 % scaling:
//                                     the pictures have the scaled size, the same layout in
//                                     logical pixels, and sharp text (not an enlarged bitmap)
//   e2e_desktop window BOOK_DIR       the reader runs in this process: its accessible tree,
//                                     the panes' text against the book's source, Tab and
//                                     Shift+Tab through panes and tool bar with a visible
//                                     focus mark, names of tool buttons and menu items, and
//                                     tool-bar images drawn for every scale
//   e2e_desktop language he|en        the reader in the desktop's language (LANGUAGE set by
//                                     the caller): menu bar, tool bar, scroll bars and their
//                                     names mirrored and in Hebrew, or as always in English
// Exit code 0 when every check held; each failed check is printed.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "app/app.h"
#include "platform/platform.h"
#include "platform/qt/qt_accessibility.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "reader/main_window.h"
#include "reader/startup.h"
#include "view/page_view.h"
#include "e2e_checks.h"

namespace {

// --- Pictures ------------------------------------------------------------------------

int Grey(QRgb p) { return qGray(p); }

// Of the pixels with ink (grey below 200), the share that are intermediate grey (above
// 40): the anti-aliased edge. Edges stay about one device pixel wide when text is drawn
// for the scale, so the share falls as the scale grows; an enlarged bitmap keeps it
// (nearest neighbour) or raises it (smooth scaling).
double EdgeShare(const QImage& image) {
  long ink = 0, edge = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int g = Grey(image.pixel(x, y));
      if (g < 200) {
        ++ink;
        if (g > 40) ++edge;
      }
    }
  return ink ? double(edge) / double(ink) : 1.0;
}

// Of the 2 x 2 blocks that hold ink, the share whose four pixels are not all alike: none
// in a picture enlarged twice by repeating pixels.
double MixedBlockShare(const QImage& image) {
  long blocks = 0, mixed = 0;
  for (int y = 0; y + 1 < image.height(); y += 2)
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const int g[4] = {Grey(image.pixel(x, y)), Grey(image.pixel(x + 1, y)), Grey(image.pixel(x, y + 1)),
                        Grey(image.pixel(x + 1, y + 1))};
      const int lo = std::min({g[0], g[1], g[2], g[3]}), hi = std::max({g[0], g[1], g[2], g[3]});
      if (lo >= 200) continue;
      ++blocks;
      if (hi - lo > 24) ++mixed;
    }
  return blocks ? double(mixed) / double(blocks) : 0.0;
}

// Mean difference of grey between a picture and another at factor times its size, the
// larger one averaged down: small when both lay out the same in logical pixels.
double MeanDifferenceScaled(const QImage& small, const QImage& large, int factor) {
  if (large.width() != small.width() * factor || large.height() != small.height() * factor) return 255;
  double total = 0;
  for (int y = 0; y < small.height(); ++y)
    for (int x = 0; x < small.width(); ++x) {
      int sum = 0;
      for (int dy = 0; dy < factor; ++dy)
        for (int dx = 0; dx < factor; ++dx) sum += Grey(large.pixel(x * factor + dx, y * factor + dy));
      total += std::abs(double(sum) / (factor * factor) - Grey(small.pixel(x, y)));
    }
  return total / (double(small.width()) * small.height());
}

QImage Screenshot(const QString& solmar, const QString& scale, const QString& file) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
  process.setProcessEnvironment(env);
  process.start(solmar, {QStringLiteral("--screenshot"), file, QStringLiteral("--size"), QStringLiteral("400x500")});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QImage();
  return QImage(file).convertToFormat(QImage::Format_RGB32);
}

int HiDpiScenario(const QString& solmar) {
  const QString dir = qEnvironmentVariable("TMPDIR");
  const QImage at100 = Screenshot(solmar, QStringLiteral("1"), dir + QStringLiteral("/100.png"));
  const QImage at150 = Screenshot(solmar, QStringLiteral("1.5"), dir + QStringLiteral("/150.png"));
  const QImage at200 = Screenshot(solmar, QStringLiteral("2"), dir + QStringLiteral("/200.png"));
  Check(at100.size() == QSize(400, 500), "at 100 % the picture is 400 x 500");
  Check(at150.size() == QSize(600, 750), "at 150 % the picture is 600 x 750 device pixels");
  Check(at200.size() == QSize(800, 1000), "at 200 % the picture is 800 x 1000 device pixels");
  if (at100.isNull() || at150.isNull() || at200.isNull()) return 1;

  // Layout, geometry and positions stay in logical pixels: averaged down, the 200 %
  // picture is the 100 % one (a row off by one pixel already differs by about 10).
  const double difference = MeanDifferenceScaled(at100, at200, 2);
  std::fprintf(stderr, "mean grey difference of the 200 %% picture averaged down: %.2f\n", difference);
  Check(difference < 6, "the 200 % picture lays out as the 100 % one");

  const double share100 = EdgeShare(at100), share150 = EdgeShare(at150), share200 = EdgeShare(at200);
  const double mixed200 = MixedBlockShare(at200);
  std::fprintf(stderr, "edge share 100 %% %.3f, 150 %% %.3f, 200 %% %.3f; mixed blocks at 200 %% %.3f\n", share100,
               share150, share200, mixed200);
  Check(share200 < 0.9 * share100, "at 200 % edges are sharper than a scaled 100 % picture");
  Check(share150 < 0.97 * share100, "at 150 % edges are sharper than a scaled 100 % picture");
  Check(mixed200 > 0.5, "at 200 % the picture is not the 100 % one with pixels doubled");
  return gFailures ? 1 : 0;
}

// --- The window in this process --------------------------------------------------------

// Every record text of article n in the book's source, in order (rules have none).
QStringList SourceParagraphs(const QString& bookDir, int n) {
  QStringList texts;
  const QString start = QStringLiteral("@article %1").arg(n);
  for (const QFileInfo& info : QDir(bookDir).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) continue;
    bool inside = false;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
      const QString line = raw.trimmed();
      if (line.startsWith(QLatin1Char('@'))) {
        if (inside) return texts;
        inside = line == start;
        continue;
      }
      if (!inside || line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1String("rule")))
        continue;
      const int bar = line.indexOf(QLatin1String(" |"));
      if (bar >= 0) texts << line.mid(bar + 2).trimmed().replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
    }
  }
  return texts;
}

void Walk(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0) {
  if (!node || depth > 20) return;
  visit(node);
  for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), visit, depth + 1);
}

std::vector<QAccessibleInterface*> Documents(QWidget* frame) {
  std::vector<QAccessibleInterface*> documents;
  Walk(QAccessible::queryAccessibleInterface(frame), [&](QAccessibleInterface* node) {
    if (node->role() == QAccessible::Document) documents.push_back(node);
  });
  return documents;
}

QString WholeText(QAccessibleInterface* document) {
  QAccessibleTextInterface* text = document ? document->textInterface() : nullptr;
  return text ? text->text(0, text->characterCount()) : QString();
}

// The focused document of the client area, by name; empty when none.
QString FocusedDocument(QWidget* client) {
  QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(client)->focusChild();
  return focus && focus->role() == QAccessible::Document ? focus->text(QAccessible::Name) : QString();
}

// Pixels of the client area in its palette's highlight colour within rect (the focus mark).
int MarkPixels(QWidget* client, const QRect& rect) {
  const QImage image = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb mark = client->palette().color(QPalette::Highlight).rgb();
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (mark & 0xFFFFFF)) ++count;
  return count;
}

// Partly transparent pixels of a pixmap: its anti-aliased edge.
int EdgePixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0 && qAlpha(image.pixel(x, y)) < 255;
  return count;
}

// Runs the reader with the application's font stored, as chosen by an earlier run, so the
// first start's chooser stays away; a scenario that has not ended after 30 seconds fails.
void RunReaderWithAFontStored() {
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  platform::SettingsKey* key = platform::OpenSettingsKey(u"Software\\Orvanel\\Solmar", true);
  const std::u16string face = QApplication::font().family().toStdU16String();
  platform::WriteSetting(key, u"FontName", platform::kSettingString, face.c_str(), uint32_t((face.size() + 1) * 2));
  platform::CloseSettingsKey(key);
  ReaderMain(nullptr, platform::kSwShowNormal);
}

void CheckWindow(QWidget* frame, const QString& bookDir) {
  QWidget* client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"));
  Check(client != nullptr, "the client area exists");
  if (!client) return;

  // The accessible tree of the real window holds the two panes as documents.
  const std::vector<QAccessibleInterface*> documents = Documents(frame);
  Check(documents.size() == 2, "the accessible tree holds two documents");
  if (documents.size() != 2) return;
  QAccessibleInterface* page = documents[0];
  QAccessibleInterface* commentary = documents[1];
  Check(page->text(QAccessible::Name) == QLatin1String("Page"), "the first document is the Page");
  Check(commentary->text(QAccessible::Name) == QLatin1String("Commentary"), "the second is the Commentary");
  Check(page->rect().bottom() < commentary->rect().top(), "the Page lies above the Commentary");
  Check(page->parent() && page->parent()->object() == client, "the documents are children of the client area");
  const QAccessible::State pageState = page->state();
  Check(pageState.readOnly && pageState.multiLine && pageState.focusable && pageState.focused,
        "the Page is a read-only, multi-line document that has the focus");
  Check(!commentary->state().focused, "the Commentary has not");
  QAccessibleInterface* clientNode = QAccessible::queryAccessibleInterface(client);
  const QPoint inCommentary = commentary->rect().center();
  Check(clientNode && clientNode->childAt(inCommentary.x(), inCommentary.y()) == commentary,
        "the point in the middle of the lower pane is the Commentary");
  Check(page->textInterface()->offsetAtPoint(inCommentary) == -1, "a point gives no text offset (-1: none)");
  // With the lower pane set to none the Commentary is no document any more: its interface
  // stops answering for a pane nobody sees, and answers again once the pane is back.
  const int children = clientNode ? clientNode->childCount() : 0;
  const int32_t lowerPane = gReaderSettings.bottomSection;
  gReaderSettings.bottomSection = kLowerPaneNoneCode;
  Check(page->isValid() && !commentary->isValid() && clientNode && clientNode->childCount() == children - 1,
        "without the lower pane only the Page is a document");
  gReaderSettings.bottomSection = lowerPane;
  Check(commentary->isValid() && clientNode && clientNode->childCount() == children, "the Commentary is back with its pane");

  // The upper pane reads as article 1 of the book, paragraph by paragraph in reading order.
  const QStringList expected = SourceParagraphs(bookDir, 1);
  const QStringList lines = WholeText(page).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  Check(expected.size() > 30, "the book's source holds article 1");
  Check(lines == expected, "the Page's whole text is article 1 in reading order");
  if (lines != expected) {
    for (int i = 0; i < std::min(lines.size(), expected.size()); ++i)
      if (lines[i] != expected[i]) {
        std::fprintf(stderr, "  paragraph %d reads \"%s\", the book has \"%s\"\n", i, qPrintable(lines[i]),
                     qPrintable(expected[i]));
        break;
      }
  }
  const QStringList expectedCommentary = SourceParagraphs(bookDir, 2);
  const QString commentaryText = WholeText(commentary);
  Check(!expectedCommentary.isEmpty() && commentaryText.startsWith(expectedCommentary[0] + QLatin1Char('\n')),
        "the Commentary reads as article 2");

  // The rows shown now: the first screen of the article, fewer than all of them.
  const QString shown = page->text(QAccessible::Description);
  const QStringList shownLines = shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  Check(shownLines.size() >= 3 && shownLines.size() < lines.size(), "the Page shows some of its paragraphs");
  Check(!shownLines.isEmpty() && shownLines[0] == expected.value(0), "the rows shown begin with the title");
  Check(page->textInterface()->cursorPosition() == 0, "the caret is at the start while the top is shown");

  // Keys act on the focused pane: Down scrolls the Page, then, after Tab, the Commentary.
  Check(QApplication::focusWidget() == client, "the client area has the focus at the start");
  Check(FocusedDocument(client) == QLatin1String("Page"), "the Page has the focus at the start");
  const QRect pageRect(client->mapFromGlobal(page->rect().topLeft()), page->rect().size());
  const QRect commentaryRect(client->mapFromGlobal(commentary->rect().topLeft()), commentary->rect().size());
  Check(MarkPixels(client, pageRect) > 200 && MarkPixels(client, commentaryRect) == 0,
        "the focus mark frames the Page only");
  for (int i = 0; i < 6; ++i) QTest::keyClick(client, Qt::Key_Down);
  Check(gPaneState.upperView && gPaneState.upperView->topRow == 6, "Down scrolls the Page");
  const QStringList scrolled = page->text(QAccessible::Description).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  Check(!scrolled.isEmpty() && scrolled[0] != shownLines.value(0), "the rows shown follow the scrolling");
  Check(page->textInterface()->cursorPosition() > 0, "the caret follows the rows shown");

  QTest::keyClick(client, Qt::Key_Tab);
  Check(QApplication::focusWidget() == client && FocusedDocument(client) == QLatin1String("Commentary"),
        "Tab goes from the Page to the Commentary");
  Check(MarkPixels(client, commentaryRect) > 200 && MarkPixels(client, pageRect) == 0,
        "the focus mark moves to the Commentary");
  const int lowerTop = gPaneState.lowerView ? gPaneState.lowerView->topRow : -1;
  QTest::keyClick(client, Qt::Key_Down);
  Check(gPaneState.lowerView && gPaneState.lowerView->topRow == lowerTop + 1 && gPaneState.upperView->topRow == 6,
        "Down then scrolls the Commentary");

  // On through the six tool buttons and round to the Page.
  QToolBar* toolBar = frame->findChild<QToolBar*>();
  std::vector<QWidget*> visited;
  for (int i = 0; i < 6; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  bool allButtons = true;
  for (QWidget* w : visited) allButtons = allButtons && qobject_cast<QToolButton*>(w) && w->parentWidget() == toolBar;
  Check(allButtons && std::set<QWidget*>(visited.begin(), visited.end()).size() == 6,
        "six Tabs visit the six tool buttons");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  Check(QApplication::focusWidget() == client && FocusedDocument(client) == QLatin1String("Page"),
        "Tab after the last tool button comes back to the Page");
  QTest::keyClick(client, Qt::Key_Backtab);
  Check(QApplication::focusWidget() == visited.back(), "Shift+Tab from the Page goes to the last tool button");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  Check(QApplication::focusWidget() == visited[4], "Shift+Tab goes back along the tool bar");
  for (int i = 0; i < 5; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  Check(QApplication::focusWidget() == client && FocusedDocument(client) == QLatin1String("Commentary"),
        "Shift+Tab from the first tool button comes to the Commentary");
  if (!visited.empty() && visited[0]) {
    // A focused tool button shows it: its picture differs from the unfocused one.
    visited[0]->setFocus(Qt::TabFocusReason);
    const QImage focused = visited[0]->grab().toImage();
    client->setFocus(Qt::TabFocusReason);
    Check(focused != visited[0]->grab().toImage(), "a focused tool button is drawn with a focus mark");
  }

  // Every tool button and menu item has an accessible name.
  int unnamed = 0, named = 0;
  for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
    if (!button->isVisible() || !button->defaultAction()) continue;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(button);
    (node && !node->text(QAccessible::Name).isEmpty() ? named : unnamed) += 1;
  }
  Check(named == 6 && unnamed == 0, "the six tool buttons have accessible names");
  int items = 0;
  unnamed = 0;
  QMenuBar* menuBar = static_cast<QMainWindow*>(frame)->menuBar();
  for (QAction* top : menuBar->actions()) {
    QAccessibleInterface* menu = top->menu() ? QAccessible::queryAccessibleInterface(top->menu()) : nullptr;
    if (!menu) continue;
    for (int i = 0; i < menu->childCount(); ++i) {
      QAccessibleInterface* item = menu->child(i);
      if (!item || item->role() == QAccessible::Separator) continue;
      ++items;
      if (item->text(QAccessible::Name).trimmed().isEmpty() || item->text(QAccessible::Name).contains(QLatin1Char('&')))
        ++unnamed;
    }
  }
  Check(items >= 10 && unnamed == 0, "every menu item has an accessible name");

  // Nothing a screen reader can reach in the window is unnamed: the scroll bars, the tool
  // bar and whatever it holds, its extension button (a check box) too while it is hidden.
  QStringList nameless;
  Walk(QAccessible::queryAccessibleInterface(frame), [&](QAccessibleInterface* node) {
    const QAccessible::Role role = node->role();
    if (role != QAccessible::ScrollBar && role != QAccessible::CheckBox && role != QAccessible::Button &&
        role != QAccessible::ToolBar && role != QAccessible::PushButton)
      return;
    if (node->text(QAccessible::Name).trimmed().isEmpty())
      nameless << QStringLiteral("%1 %2").arg(int(role)).arg(node->object() ? node->object()->metaObject()->className() : "?");
  });
  if (!nameless.isEmpty()) std::fprintf(stderr, "  unnamed: %s\n", qPrintable(nameless.join(QStringLiteral(", "))));
  Check(nameless.isEmpty(), "every scroll bar, button and check box of the window has an accessible name");

  // The tool-bar pictures are drawn for each scale: at 200 % the edge stays about one
  // device pixel wide (about twice the edge pixels of 100 %), where an enlarged 16-pixel
  // picture would have four times as many or more.
  int sharp = 0;
  for (QAction* action : toolBar->actions()) {
    if (action->icon().isNull()) continue;
    const QPixmap at100 = action->icon().pixmap(QSize(16, 16), 1.0);
    const QPixmap at200 = action->icon().pixmap(QSize(16, 16), 2.0);
    const int edge100 = EdgePixels(at100), edge200 = EdgePixels(at200);
    if (at200.size() == QSize(32, 32) && edge100 > 0 && edge200 < 3 * edge100) ++sharp;
    else
      std::fprintf(stderr, "  tool image %s: %dx%d at 200 %%, edge pixels %d at 100 %%, %d at 200 %%\n",
                   qPrintable(action->toolTip()), at200.width(), at200.height(), edge100, edge200);
  }
  Check(sharp == 6, "the six tool-bar pictures are drawn for 200 %");

  // The window icon has the sizes of the installed theme icons, so no size is enlarged.
  const QList<QSize> iconSizes = frame->windowIcon().availableSizes();
  Check(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(48, 48)) && iconSizes.contains(QSize(256, 256)),
        "the window icon comes at 16, 48 and 256 pixels");
  // The index tree's pictures still load after the tool-bar pictures learnt their scales.
  int loaded = 0;
  for (uint32_t id : {201u, 202u, 203u})
    if (platform::Bitmap* bitmap = platform::LoadBitmap(id)) {
      ++loaded;
      platform::DeleteBitmap(bitmap);
    }
  Check(loaded == 3 && platform::LoadBitmap(204) == nullptr, "pictures 201 to 203 load, 204 is none");

  // A selection made or cleared is told to screen readers as the Page's text selection:
  // the event from the Page's interface with the offsets its text interface answers. (Qt
  // sends events only while assistive technology listens, so the event itself is checked.)
  platform::Window* mainWindow = platform::FindWindow(kReaderClassName, kReaderClassName);
  platform::SendMessage(mainWindow, platform::kMsgGoToReference, 0, intptr_t(u"Gen 1:3"));
  int start = -1, end = -1;
  page->textInterface()->selection(0, &start, &end);
  std::unique_ptr<QAccessibleTextSelectionEvent> event = platform::qt::SelectionChangeEvent(mainWindow, 0);
  Check(end > start && event && event->type() == QAccessible::TextSelectionChanged &&
            event->accessibleInterface() == page && event->selectionStart() == start && event->selectionEnd() == end,
        "the Page's selection after going to a verse is told as its text selection");
  client->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(client, Qt::Key_Escape);
  event = platform::qt::SelectionChangeEvent(mainWindow, 0);
  Check(event && event->selectionStart() == -1 && event->selectionEnd() == -1, "after Escape it is told as none");
  Check(platform::NotifyAccessibleSelection(mainWindow, 1) && !platform::NotifyAccessibleSelection(mainWindow, 2) &&
            !platform::qt::SelectionChangeEvent(mainWindow, 2),
        "the selection is told for the two panes only");
}

int WindowScenario(int argc, char** argv, const QString& bookDir) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  // Whether the window's checks ran: a reader that never shows its window, or never runs
  // its loop, must fail here rather than pass having checked nothing.
  bool windowChecked = false;
  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    const bool exposed = frame && QTest::qWaitForWindowExposed(frame);
    Check(exposed, "the main window is shown");
    if (exposed) {
      QTest::qWait(50);
      CheckWindow(frame, bookDir);
      windowChecked = true;
    }
    platform::PostQuitMessage(0);
  });
  RunReaderWithAFontStored();
  Check(windowChecked, "the window was checked");
  return gFailures ? 1 : 0;
}

// --- The interface's language -------------------------------------------------------------
// The reader started with the desktop's language (LANGUAGE, set by the caller) and no choice
// stored: in Hebrew the window is mirrored and speaks Hebrew, in English it is as it always
// was. What the panes draw is the same in both.
void CheckLanguage(QWidget* frame, bool hebrew) {
  auto* window = static_cast<QMainWindow*>(frame);
  QMenuBar* menuBar = window->menuBar();
  const QList<QAction*> menus = menuBar->actions();
  Check(menus.size() == 2, "the menu bar holds two menus");
  if (menus.size() != 2) return;
  const QRect first = menuBar->actionGeometry(menus[0]);
  const QRect second = menuBar->actionGeometry(menus[1]);
  if (hebrew) {
    Check(menus[0]->text() == QStringLiteral("&עיון") && menus[1]->text() == QStringLiteral("&פירוש"),
          "the menus are named in Hebrew");
    Check(first.right() > menuBar->width() - 20 && second.right() < first.left(),
          "the menu bar starts at the right");
    Check(frame->windowTitle() == QStringLiteral("סולמר"), "the window is named in Hebrew");
  } else {
    Check(menus[0]->text() == QLatin1String("&Go") && menus[1]->text() == QLatin1String("&Quelm"),
          "the menus are named as always");
    Check(first.left() < 20 && second.left() > first.right(), "the menu bar starts at the left");
    Check(frame->windowTitle() == QLatin1String("Solmar"), "the window is named Solmar");
  }
  // The Go menu's items in the interface's language, each with its own accelerator.
  QStringList items;
  for (QAction* action : menus[0]->menu()->actions())
    if (!action->isSeparator()) items << action->text();
  Check(items.size() == 18, "the Go menu holds eighteen items");
  Check(items.value(0) == (hebrew ? QStringLiteral("&אודות") : QStringLiteral("&About")),
        "the first item is About");
  Check(items.contains(hebrew ? QStringLiteral("&חיפוש\tAlt+F3") : QStringLiteral("&Search\tAlt+F3")),
        "Search keeps its shortcut");
  Check(menus[0]->menu()->layoutDirection() == (hebrew ? Qt::RightToLeft : Qt::LeftToRight),
        "the menu opens in the interface's direction");

  // Scroll bars at the panes' left in Hebrew, at their right in English, named either way.
  QWidget* client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"));
  const QList<QScrollBar*> bars = client ? client->findChildren<QScrollBar*>() : QList<QScrollBar*>();
  int atLeft = 0, atRight = 0;
  QStringList names;
  for (QScrollBar* bar : bars) {
    if (!bar->isVisible()) continue;
    if (bar->x() == 0)
      ++atLeft;
    else if (bar->geometry().right() == client->width() - 1)
      ++atRight;
    names << QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name);
  }
  names.sort();
  if (hebrew) {
    Check(atLeft == 2 && atRight == 0, "both scroll bars stand at the left");
    Check(names == QStringList({QStringLiteral("מיקום בעמוד"), QStringLiteral("מיקום בפירוש")}),
          "the scroll bars are named in Hebrew");
  } else {
    Check(atLeft == 0 && atRight == 2, "both scroll bars stand at the right");
    Check(names == QStringList({QStringLiteral("Commentary position"), QStringLiteral("Page position")}),
          "the scroll bars are named in English");
  }

  // The tool bar runs from the right in Hebrew: Previous Article first, at the right, its
  // arrow turned to point right, the way back in a right-to-left book.
  QToolBar* toolBar = frame->findChild<QToolBar*>();
  QWidget* previous = nullptr;
  QWidget* next = nullptr;
  if (toolBar)
    for (QAction* action : toolBar->actions()) {
      if (action->objectName() == QLatin1String("command110")) previous = toolBar->widgetForAction(action);
      if (action->objectName() == QLatin1String("command109")) next = toolBar->widgetForAction(action);
    }
  Check(previous && next, "the tool bar has Previous and Next Article");
  if (previous && next) {
    Check(hebrew ? previous->x() > next->x() : previous->x() < next->x(), "the tool bar runs in the interface's direction");
    Check(static_cast<QToolButton*>(previous)->toolTip() ==
              (hebrew ? QStringLiteral("העמוד הקודם") : QStringLiteral("Previous Article")),
          "the tool tips speak the interface's language");
    // The arrow's dark pixels lean to the side it points to: left in English, right in Hebrew.
    const QImage arrow = static_cast<QToolButton*>(previous)->icon().pixmap(QSize(16, 16), 1.0).toImage();
    // Each dark pixel counts by its distance from the middle: the arrow's head, its widest
    // part, outweighs its shaft.
    int lean = 0, dark = 0;
    for (int y = 0; y < arrow.height(); ++y)
      for (int x = 0; x < arrow.width(); ++x) {
        const QRgb p = arrow.pixel(x, y);
        if (qAlpha(p) < 128 || qGray(p) > 128) continue;
        ++dark;
        lean += 2 * x < arrow.width() - 1 ? 1 : 2 * x > arrow.width() - 1 ? -1 : 0;
      }
    Check(dark > 10 && (hebrew ? lean < -2 : lean > 2), "the Previous arrow points back");
  }
}

int LanguageScenario(int argc, char** argv, bool hebrew) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  ApplyInterfaceLanguage(nullptr, true);
  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    if (frame && QTest::qWaitForWindowExposed(frame)) {
      QTest::qWait(50);
      CheckLanguage(frame, hebrew);
    }
    platform::PostQuitMessage(0);
  });
  RunReaderWithAFontStored();
  return gFailures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_desktop hidpi SOLMAR | window BOOK_DIR\n");
    return 2;
  }
  const QByteArray mode = argv[1];
  const QString argument = QString::fromLocal8Bit(argv[2]);
  QTemporaryDir config, temp, runtime;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  qputenv("TMPDIR", QFile::encodeName(temp.path()));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  if (mode != "language") qputenv("QT_QPA_PLATFORM", "offscreen");
  int code = 2;
  if (mode == "hidpi") {
    QCoreApplication app(argc, argv);
    code = HiDpiScenario(argument);
  } else if (mode == "window") {
    code = WindowScenario(argc, argv, argument);
  } else if (mode == "language") {
    // As a desktop session in that language starts it, on the platform the caller chose.
    code = LanguageScenario(argc, argv, argument == QLatin1String("he"));
  }
  std::fprintf(stderr, "%s: %d checks, %s\n", mode.constData(), gChecks, code == 0 ? "all held" : "FAILED");
  return code;
}
