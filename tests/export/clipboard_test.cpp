// Copy and Append through the fake clipboard: which formats are offered, what Append keeps,
// the direction of the letters, and every failure leaving the clipboard as it was.
#include <cstring>

#include "export_fixture.h"
#include "view/page_view.h"

namespace export_test {
namespace {

using Step = fake::ClipboardStep;

class ClipboardTest : public ExportTest {
 protected:
  // A view holding stream: all CopyArticle reads of it.
  PageView ViewOf(std::vector<uint8_t>* stream, int32_t base, bool drawReversed) {
    PageView view{};
    view.text = stream->data();
    view.textLength = uint32_t(stream->size());
    view.fontSpec.fontAsciiBase = base;
    view.drawReversed = drawReversed;
    return view;
  }
  void PutOld() {
    fake::PutClipboardContent(platform::kClipboardUnicodeText, Utf16Bytes(u"old", true));
    fake::PutClipboardContent(RtfFormat(), {'{', 'o', 'l', 'd', '}', 0});
  }
  static std::vector<uint8_t> Rtf(const std::string& body) {
    const std::string document = std::string(kHeader) + body + "}\r\n";
    std::vector<uint8_t> bytes(document.begin(), document.end());
    bytes.push_back(0);
    return bytes;
  }
  std::vector<uint8_t> stream_ = Stream({{0x10, 0, "ab"}});
};

TEST_F(ClipboardTest, UnicodeBaseOffersRtfAndTextTogether) {
  // The export turns the text exactly when the screen does not.
  const struct {
    bool drawReversed;
    std::string body;
    std::u16string text;
  } cases[] = {
      {false, "\\u1489\\u1488\\par\\par\r\n\\par\\par\r\n", std::u16string{kBet, kAlef} + u"\r\n"},
      {true, "\\u1488\\u1489\\par\\par\r\n\\par\\par\r\n", std::u16string{kAlef, kBet} + u"\r\n"},
  };
  for (const auto& c : cases) {
    fake::ResetClipboard();
    PageView view = ViewOf(&stream_, 1488, c.drawReversed);
    CopyArticle(&view, false);
    EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), Str((Rtf(c.body))));
    EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)), Str((Utf16Bytes(c.text, true))));
    EXPECT_EQ(fake::ClipboardSteps(), (std::vector<Step>{Step::kAlloc, Step::kAlloc, Step::kOpen, Step::kEmpty,
                                                        Step::kSet, Step::kSet, Step::kClose}));
  }
}

TEST_F(ClipboardTest, SingleByteBaseOffersTextOnly) {
  PutOld();
  PageView view = ViewOf(&stream_, 224, false);
  CopyArticle(&view, false);
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)), Str((Utf16Bytes(u"\u00E0\u00E1\r\n", true))));
  EXPECT_EQ(fake::ClipboardContent(RtfFormat()), nullptr);
}

TEST_F(ClipboardTest, AppendKeepsEachFormatInFront) {
  PutOld();
  PageView view = ViewOf(&stream_, 224, false);
  CopyArticle(&view, true);
  // Nothing between the old text and the new.
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)), Str((Utf16Bytes(u"old\u00E0\u00E1\r\n", true))));

  PutOld();
  view = ViewOf(&stream_, 1488, true);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())),
            std::string("{old") + kSeparator + "\\u1488\\u1489\\par\\par\r\n\\par\\par\r\n}\r\n" + std::string(1, '\0'));
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str((Utf16Bytes(u"old\u05D0\u05D1\r\n", true))));
}

TEST_F(ClipboardTest, AppendToNothingStartsADocument) {
  PageView view = ViewOf(&stream_, 1488, true);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), Str((Rtf("\\u1488\\u1489\\par\\par\r\n\\par\\par\r\n"))));
}

TEST_F(ClipboardTest, EveryFailureLeavesTheClipboardAsItWas) {
  const struct {
    const char* name;
    int32_t base;
    void (*fail)();
  } cases[] = {
      {"open refused, text", 224, [] { fake::FailClipboardOpen(true); }},
      {"open refused, RTF", 1488, [] { fake::FailClipboardOpen(true); }},
      {"text block refused", 224, [] { fake::FailClipboardBlock(1); }},
      {"RTF block refused", 1488, [] { fake::FailClipboardBlock(1); }},
      {"RTF's text block refused", 1488, [] { fake::FailClipboardBlock(2); }},
      // Allocations of a copy: text buffer, conversion, then the RTF body.
      {"text buffer refused", 1488, [] { fake::FailAllocation(1); }},
      {"RTF body refused", 1488, [] { fake::FailAllocation(3); }},
  };
  for (const auto& c : cases) {
    fake::ResetAll();
    ResetConversionBuffer();
    PutOld();
    c.fail();
    PageView view = ViewOf(&stream_, c.base, false);
    CopyArticle(&view, false);
    EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)), Str((Utf16Bytes(u"old", true)))) << c.name;
    EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), std::string("{old}") + std::string(1, '\0')) << c.name;
    for (Step step : fake::ClipboardSteps()) EXPECT_NE(step, Step::kEmpty) << c.name;
    EXPECT_EQ(fake::LiveClipboardBlocks(), 0) << c.name;
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << c.name;
  }
}

TEST_F(ClipboardTest, PreviousDataThatCannotBeCopiedIsLeftOut) {
  PutOld();
  PageView view = ViewOf(&stream_, 1488, true);
  // Text buffer, conversion, then the copy of the previous RTF.
  fake::FailAllocation(3);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), Str((Rtf("\\u1488\\u1489\\par\\par\r\n\\par\\par\r\n"))));
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str((Utf16Bytes(u"old\u05D0\u05D1\r\n", true))));
}

TEST_F(ClipboardTest, NoViewOrTextDoesNothing) {
  CopyArticle(nullptr, false);
  PageView empty{};
  CopyArticle(&empty, true);
  PageView unlaid = ViewOf(&stream_, 1488, false);
  unlaid.textLength = 0;
  CopyArticle(&unlaid, false);
  EXPECT_TRUE(fake::ClipboardCalls().empty());
  EXPECT_EQ(fake::AllocationsMade(), 0);
}

TEST_F(ClipboardTest, ReadingStopsAtTheTerminatorOrTheData) {
  const struct {
    const char* name;
    uint32_t format;
    std::vector<uint8_t> held;
    std::vector<uint8_t> expected;
  } cases[] = {
      {"text to its 0 unit", 0, {'a', 0, 0, 0, 'b', 0}, {'a', 0}},
      {"text without a 0, odd byte dropped", 0, {'a', 0, 'b', 0, 'c'}, {'a', 0, 'b', 0}},
      {"a 0 byte inside a unit is no end", 0, {0, 5, 0, 0}, {0, 5}},
      {"RTF to its 0 byte", 1, {'{', 'x', 0, 'y'}, {'{', 'x'}},
      {"RTF without a 0", 1, {'{', 'x', '}'}, {'{', 'x', '}'}},
  };
  for (const auto& c : cases) {
    fake::ResetClipboard();
    const uint32_t format = c.format ? RtfFormat() : platform::kClipboardUnicodeText;
    fake::PutClipboardContent(format, c.held);
    uint32_t size = 99;
    uint8_t* copy = ReadClipboardData(c.format ? format : 0, &size);
    ASSERT_NE(copy, nullptr) << c.name;
    EXPECT_EQ(std::vector<uint8_t>(copy, copy + size), c.expected) << c.name;
    platform::Free(copy);
  }
  uint32_t size = 99;
  fake::ResetClipboard();
  EXPECT_EQ(ReadClipboardData(0, &size), nullptr);
  EXPECT_EQ(size, 0u);
  fake::PutClipboardContent(platform::kClipboardUnicodeText, Utf16Bytes(u"x", true));
  fake::FailClipboardOpen(true);
  EXPECT_EQ(ReadClipboardData(0, &size), nullptr);
  EXPECT_EQ(size, 0u);
}

}  // namespace
}  // namespace export_test
