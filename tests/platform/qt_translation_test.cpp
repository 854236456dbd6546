// The Hebrew interface against the English one: every text the reader hands the backend has
// a Hebrew translation carried in the program, the shortcuts shown stay the keys that work,
// and the accelerators of one menu do not clash, in either language. Qt's own texts in the
// reader's windows (message-box buttons, edit boxes' menus) speak Hebrew too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/platform.h"
#include "platform/qt/qt_language.h"
#include "reader/menu_tables.h"

namespace {

using platform::qt::Translated;

bool HasHebrew(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA) return true;
  return false;
}

// The text as the menu shows it: without the shortcut after the 0x08 unit.
QString Label(const QString& text) { return text.section(QChar(0x08), 0, 0); }
QString Shortcut(const QString& text) { return text.section(QChar(0x08), 1); }

// The accelerator of a label: the character after a single '&', folded; none without one.
QChar Accelerator(const QString& label) {
  for (qsizetype i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != QLatin1Char('&')) continue;
    if (label[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return label[i + 1].toLower();
  }
  return QChar();
}

struct MarkedText {
  const char* context;
  QString source;
};

// Every text the reader's tables hand the backend for translation.
std::vector<MarkedText> ReaderTexts() {
  std::vector<MarkedText> texts;
  for (size_t p = 0; p < kReaderMenu.count; ++p) {
    const platform::PopupTemplate& popup = kReaderMenu.popups[p];
    texts.push_back({"Menu", QString::fromUtf16(popup.title)});
    for (size_t i = 0; i < popup.count; ++i)
      if (popup.items[i].text) texts.push_back({"Menu", QString::fromUtf16(popup.items[i].text)});
  }
  for (const platform::MenuBarButton& button : kReaderMenuBarButtons)
    texts.push_back({"Menu", QString::fromUtf16(button.caption)});
  for (const char16_t* tip : kReaderToolTips)
    if (*tip) texts.push_back({"ToolBar", QString::fromUtf16(tip)});
  return texts;
}

// Texts of the dialog templates that are written in English: the languages' own names, the
// maker's address and the letter bases the font chooser names in hexadecimal stay as they are.
std::vector<MarkedText> DialogTexts() {
  std::vector<MarkedText> texts;
  for (uint32_t id : {103u, 105u, 115u, 118u, 125u, 131u}) {
    const platform::DialogTemplate* t = platform::FindDialogTemplate(id);
    if (!t) continue;
    texts.push_back({"Dialog", QString::fromUtf16(t->caption)});
    for (size_t i = 0; i < t->controlCount; ++i) {
      const QString text = t->controls[i].text ? QString::fromUtf16(t->controls[i].text) : QString();
      if (text.isEmpty() || !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}"))) ||
          text == QLatin1String("English") || text.startsWith(QLatin1String("http")) || text == QLatin1String("5D0"))
        continue;
      texts.push_back({"Dialog", text});
    }
  }
  return texts;
}

class TranslationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_translation_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
  }
  void TearDown() override { platform::qt::UseLanguage(QStringLiteral("en")); }
};

TEST_F(TranslationTest, EnglishHandsEveryTextBackAsItIs) {
  ASSERT_TRUE(platform::qt::UseLanguage(QStringLiteral("en")));
  EXPECT_FALSE(platform::IsLayoutRightToLeft());
  std::vector<MarkedText> texts = ReaderTexts();
  const std::vector<MarkedText> dialogs = DialogTexts();
  texts.insert(texts.end(), dialogs.begin(), dialogs.end());
  ASSERT_GT(texts.size(), 40u);
  for (const MarkedText& text : texts)
    EXPECT_EQ(Translated(text.context, reinterpret_cast<const char16_t*>(text.source.utf16())), text.source);
}

TEST_F(TranslationTest, HebrewTranslatesEveryTextAndKeepsTheShortcuts) {
  ASSERT_TRUE(platform::qt::UseLanguage(QStringLiteral("he")));
  EXPECT_TRUE(platform::IsLayoutRightToLeft());
  std::vector<MarkedText> texts = ReaderTexts();
  const std::vector<MarkedText> dialogs = DialogTexts();
  texts.insert(texts.end(), dialogs.begin(), dialogs.end());
  for (const MarkedText& text : texts) {
    const QString hebrew = Translated(text.context, reinterpret_cast<const char16_t*>(text.source.utf16()));
    SCOPED_TRACE(text.source.toStdString());
    EXPECT_TRUE(HasHebrew(hebrew)) << hebrew.toStdString();
    EXPECT_EQ(Shortcut(hebrew), Shortcut(text.source));
    // No English word is left in a label but the names of works and licences.
    if (!text.source.startsWith(QLatin1String("Text:"))) {
      EXPECT_FALSE(Label(hebrew).contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}")))) << hebrew.toStdString();
    }
  }
  // Pieces the reader puts together, and names only a screen reader speaks.
  const std::map<std::pair<std::string, std::u16string>, std::u16string> pieces = {
      {{"FindAll", u" hits"}, u" מופעים"},        {{"FindAll", u"Page "}, u"עמוד "},
      {{"FindAll", u"Commentary"}, u"פירוש"},     {{"Accessibility", u"Page position"}, u"מיקום בעמוד"},
      {{"Accessibility", u"Commentary position"}, u"מיקום בפירוש"},
  };
  for (const auto& [key, hebrew] : pieces)
    EXPECT_EQ(platform::TranslateText(key.first.c_str(), key.second.c_str()), hebrew);
  EXPECT_EQ(platform::qt::TranslatedFor(QStringLiteral("he"), "CommandLine", "no such text"),
            QStringLiteral("no such text"));
  EXPECT_TRUE(platform::qt::TranslatedFor(QStringLiteral("he"), "Dialog", "Choose Font") == QStringLiteral("בחירת גופן"));
}

// In each language: every item of a popup has its own accelerator, the popups' titles too.
// The English Go menu has always given "&About", "Find &All" and "&Append to ClipBoard" the
// same letter (the platform steps between them) and stays as it is; nothing else may share
// one, and the Hebrew menus share none.
TEST_F(TranslationTest, AcceleratorsOfOneMenuDoNotClash) {
  for (const char* language : {"en", "he"}) {
    SCOPED_TRACE(language);
    ASSERT_TRUE(platform::qt::UseLanguage(QString::fromLatin1(language)));
    const bool hebrew = QLatin1String(language) == QLatin1String("he");
    std::vector<QChar> titles;
    for (size_t p = 0; p < kReaderMenu.count; ++p) {
      const platform::PopupTemplate& popup = kReaderMenu.popups[p];
      titles.push_back(Accelerator(Translated("Menu", popup.title)));
      std::map<QChar, std::vector<QString>> users;
      for (size_t i = 0; i < popup.count; ++i) {
        if (!popup.items[i].text) continue;
        const QString label = Label(Translated("Menu", popup.items[i].text));
        const QChar key = Accelerator(label);
        if (key.isNull()) continue;
        // On a Hebrew keyboard: a Hebrew letter or a digit, both typed without switching layout.
        if (hebrew) {
          EXPECT_TRUE(HasHebrew(QString(key)) || key.isDigit()) << label.toStdString();
        }
        users[key].push_back(label);
      }
      for (const auto& [key, labels] : users) {
        const bool knownEnglishClash =
            (!hebrew && key == QLatin1Char('a') &&
            labels == std::vector<QString>{QStringLiteral("&About"), QStringLiteral("Find &All"),
                                           QStringLiteral("&Append to ClipBoard")}) ||
            // "Go to &Verse…" is written as the reader's users know it, beside Re&verse.
            (!hebrew && key == QLatin1Char('v') &&
             labels == std::vector<QString>{QStringLiteral("Re&verse"), QString::fromUtf8("Go to &Verse…")});
        if (!knownEnglishClash) {
          EXPECT_EQ(labels.size(), 1u) << QString(key).toStdString() << " in " << p;
        }
      }
    }
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_NE(titles[0], titles[1]);
    EXPECT_FALSE(titles[0].isNull());
  }
}

TEST_F(TranslationTest, QtsOwnTextsInTheReadersWindowsSpeakHebrew) {
  ASSERT_TRUE(platform::qt::UseLanguage(QStringLiteral("he")));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&כן"));
  EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&לא"));
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("ביטול"));
  QLineEdit edit;
  edit.setText(QStringLiteral("abc"));
  QMenu* menu = edit.createStandardContextMenu();
  int actions = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    ++actions;
    EXPECT_TRUE(HasHebrew(action->text())) << action->text().toStdString();
  }
  EXPECT_GE(actions, 6);
  delete menu;
}

TEST_F(TranslationTest, LanguageOfARun) {
  struct Case {
    const char* commandLine;
    const char* stored;
    const char* chosen;  // nullptr: the desktop's
  };
  const Case cases[] = {
      {"he", "en", "he"},   {"en", "he", "en"}, {"", "he", "he"},      {"", "en", "en"},
      {"", "", nullptr},    {"", "fr", nullptr}, {"xx", "he", "he"},   {"", "HE", nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::qt::ChooseLanguage(QString::fromLatin1(c.commandLine), QString::fromLatin1(c.stored)),
              c.chosen ? QString::fromLatin1(c.chosen) : platform::qt::DesktopLanguage())
        << c.commandLine << " / " << c.stored;
  EXPECT_FALSE(platform::qt::UseLanguage(QStringLiteral("fr")));
  EXPECT_FALSE(platform::IsLayoutRightToLeft());
  EXPECT_EQ(Translated("Menu", u"&About"), QStringLiteral("&About"));
}

}  // namespace
