// The article as plain text: records, rules, indents and extra rows, the direction of the
// letters, and the buffer that never overflows.
#include <cstring>

#include "export_fixture.h"

namespace export_test {
namespace {

using TextTest = ExportTest;

TEST_F(TextTest, RecordsBecomeLines) {
  const std::u16string hyphens80(80, u'-'), hyphens160(160, u'-');
  const struct {
    const char* name;
    std::vector<Record> records;
    std::u16string expected;
  } cases[] = {
      {"letter, indent 3, extra row", {{0x80, 3, "a"}}, std::u16string{kAlef} + u"   \r\n\r\n"},
      {"rule 200 is 80 hyphens", {{0x07, 200, ""}}, hyphens80 + u"\r\n"},
      {"rule 160 is 160 hyphens", {{0x07, 160, ""}}, hyphens160 + u"\r\n"},
      {"rule 0 is an empty line", {{0x07, 0, ""}}, u"\r\n"},
      {"rule text is skipped", {{0x47, 2, "abc"}}, u"--\r\n"},
      {"indent is the low six bits", {{0x01, 0x40 | 2, "b"}}, std::u16string{kBet} + u"  \r\n"},
      {"empty text record", {{0x01, 0, ""}, {0x01, 0, "a"}}, std::u16string{u"\r\n"} + kAlef + u"\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExportText(Stream(c.records), 1488, false), c.expected) << c.name;
}

TEST_F(TextTest, DirectionOfTheLetters) {
  // Stored visual order of the right-to-left reading "alef bet space 1 2 : 5 (gimel)":
  // reversed, brackets mirrored, the number run kept as it reads.
  const std::string rightToLeftStored = "(c) 12:5 ba";
  const std::u16string readingOrder = std::u16string{kAlef, kBet} + u" 12:5 (" + char16_t(0x05D2) + u")\r\n";
  const struct {
    const char* name;
    uint8_t flags;
    std::string text;
    int32_t base;
    bool reverse;
    std::u16string expected;
  } cases[] = {
      {"unturned keeps the stored order", 0x10, "ab", 1488, false, std::u16string{kAlef, kBet} + u"\r\n"},
      {"right-to-left record in reading order", 0x10, rightToLeftStored, 1488, true, readingOrder},
      {"left-to-right record plainly reversed", 0x01, "(ab)", 224, true, u"(\u00E1\u00E0)\r\n"},
      {"letter base 97 is never turned", 0x10, "ab", 97, true, u"ab\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExportText(Stream({{c.flags, 0, c.text}}), c.base, c.reverse), c.expected) << c.name;
}

// Regression: in reading order every indented line ended in spaces and began flush, the
// indent on the wrong side of a right-to-left line.
TEST_F(TextTest, IndentLeadsTheLineInReadingOrder) {
  const struct {
    const char* name;
    uint8_t flags;
    bool reverse;
    int32_t base;
    std::u16string expected;
  } cases[] = {
      {"reading order: indent first", 0x10, true, 1488, std::u16string(u"    ") + kBet + kAlef + u"\r\n"},
      {"reading order on a single-byte base", 0x10, true, 224, u"    \u00E1\u00E0\r\n"},
      {"stored order: indent last", 0x10, false, 1488, std::u16string{kAlef, kBet} + u"    \r\n"},
      {"left-to-right record: indent last", 0x01, true, 224, u"\u00E1\u00E0    \r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExportText(Stream({{c.flags, 4, "ab"}}), c.base, c.reverse), c.expected) << c.name;
}

TEST_F(TextTest, TooSmallBufferShowsTheMessageAndStaysInside) {
  gShellWindows.mainWindow = reinterpret_cast<platform::Window*>(0x1234);
  const std::vector<uint8_t> stream = Stream({{0x01, 5, "abcdef"}, {0x07, 170, ""}});
  // Every size that cannot hold the text and its 0 (13 + 20 + 2 + 1 units) is refused.
  for (uint32_t units = 0; units < 36; ++units) {
    fake::ResetMessageBoxes();
    std::vector<char16_t> buffer(units + 4, u'#');
    EXPECT_EQ(WriteArticleText(stream.data(), stream.data() + stream.size(), buffer.data(), units * 2, 1488, false), 1)
        << units;
    for (size_t i = units; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], u'#') << "written past " << units;
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    const fake::RecordedMessageBox& box = fake::MessageBoxes()[0];
    EXPECT_EQ(box.text, u"(obuf > (start + size))");
    EXPECT_FALSE(box.hasCaption);
    EXPECT_EQ(box.buttons, platform::kMbOk);
    EXPECT_EQ(box.owner, gShellWindows.mainWindow);
  }
  std::vector<char16_t> exact(36);
  EXPECT_EQ(WriteArticleText(stream.data(), stream.data() + stream.size(), exact.data(), 72, 1488, false), 0);
  EXPECT_EQ(exact[35], 0);
}

TEST_F(TextTest, MeasuredBufferFollowsTheFormula) {
  // length 17 (up to the final 0 flags byte), 3 rows + 1 extra, rule 170 = 20 hyphens, indent 5:
  // 17 + 8 + 2 x 4 + 20 + 5 + 1 = 59 units.
  const std::vector<uint8_t> stream = Stream({{0x81, 5, "abcdef"}, {0x07, 170, ""}, {0x01, 0x80, "ab"}});
  uint32_t size = 0;
  char16_t* buffer = MeasureArticleText(stream.data(), stream.data() + stream.size(), &size);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(size, 59u * 2);
  platform::Free(buffer);
}

TEST_F(TextTest, NoBufferMeansNoText) {
  const std::vector<uint8_t> stream = Stream({{0x01, 0, "a"}});
  fake::FailAllocation(1);
  EXPECT_EQ(ExportText(stream, 1488, false), u"<none>");
  // The conversion's own shortage is reported too.
  fake::FailAllocation(2);
  EXPECT_EQ(ExportText(stream, 1488, false), u"<none>");
}

}  // namespace
}  // namespace export_test
