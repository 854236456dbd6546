// `solmar --find` with the search input people type and paste: the table the search dialog
// is tested with, run through the real program over the real book. An input must find
// exactly what its plain form finds, or be refused (exit 2) with the character named.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <set>
#include <string>

#include "search/typed_patterns.h"

namespace {

struct FindRun {
  int exitCode = -1;
  QString out, err;
};

FindRun Find(const std::u16string& pattern) {
  QProcess process;
  process.setProgram(QStringLiteral(SOLMAR_PROGRAM));
  process.setArguments({QStringLiteral("--find"), QString::fromUtf16(pattern.data(), qsizetype(pattern.size()))});
  process.start();
  FindRun run;
  if (!process.waitForFinished(60000)) return run;
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

TEST(FindTable, InputsFindWhatTheirPlainFormsFind) {
  for (const typed_patterns::TypedPattern& row : typed_patterns::Table()) {
    SCOPED_TRACE(row.what);
    const FindRun typed = Find(row.input);
    if (row.refused) {
      EXPECT_EQ(typed.exitCode, 2);
      EXPECT_TRUE(typed.out.isEmpty());
      EXPECT_TRUE(typed.err.contains(QStringLiteral("(U+%1)").arg(uint(row.refused), 4, 16, QChar('0')).toUpper()))
          << typed.err.toStdString();
      continue;
    }
    const FindRun plain = Find(row.reading);
    EXPECT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_FALSE(typed.out.isEmpty());
    EXPECT_EQ(typed.out, plain.out);
  }
}

// The fields of one listed hit: article, end offset, length, text.
QStringList Fields(const QString& line) { return line.split(QChar('\t')); }

// Every text --find lists finds itself when it is fed back: the reading order it prints and
// the stored order it searches agree, brackets and numbers included.
TEST(FindTable, EveryListedTextFindsItself) {
  for (const std::u16string& pattern : {std::u16string(u"[היצא]"), std::u16string(u"[*]"), std::u16string(u"?:?")}) {
    const FindRun run = Find(pattern);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    std::set<QString> texts;
    for (const QString& line : run.out.split(QChar('\n'), Qt::SkipEmptyParts)) texts.insert(Fields(line).value(3));
    int tried = 0;
    for (const QString& text : texts) {
      if (++tried > 6) break;
      SCOPED_TRACE(text.toStdString());
      const FindRun again = Find(text.toStdU16String());
      EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
      bool itself = false;
      for (const QString& line : again.out.split(QChar('\n'), Qt::SkipEmptyParts)) itself |= Fields(line).value(3) == text;
      EXPECT_TRUE(itself);
    }
  }
}

// A plain letter typed where a word ends also finds the final form; a final form finds only
// itself.
TEST(FindTable, PlainLettersFindFinalForms) {
  const FindRun plain = Find(u"מלכ");
  ASSERT_EQ(plain.exitCode, 0);
  EXPECT_TRUE(plain.out.contains(QString::fromUtf16(u"\tמלך\n")));
  EXPECT_TRUE(plain.out.contains(QString::fromUtf16(u"\tמלכ\n")));
  const FindRun final = Find(u"מלך");
  ASSERT_EQ(final.exitCode, 0);
  EXPECT_FALSE(final.out.contains(QString::fromUtf16(u"\tמלכ\n")));
  EXPECT_LT(final.out.count(QChar('\n')), plain.out.count(QChar('\n')));
}

}  // namespace
