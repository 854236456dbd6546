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
  // Other programs lay right-to-left text out themselves: reading order whatever the
  // screen does (a copy in the screen's turned order would read backwards there).
  for (const bool drawReversed : {false, true}) {
    fake::ResetClipboard();
    PageView view = ViewOf(&stream_, 1488, drawReversed);
    CopyArticle(&view, false);
    EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), Str((Rtf("\\u1489\\u1488\\par\\par\r\n\\par\\par\r\n"))))
        << drawReversed;
    EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
              Str((Utf16Bytes(std::u16string{kBet, kAlef} + u"\r\n", true))))
        << drawReversed;
    EXPECT_EQ(fake::ClipboardSteps(), (std::vector<Step>{Step::kAlloc, Step::kAlloc, Step::kOpen, Step::kEmpty,
                                                        Step::kSet, Step::kSet, Step::kClose}));
  }
}

TEST_F(ClipboardTest, SingleByteBaseFollowsTheScreen) {
  const struct {
    bool drawReversed;
    std::u16string text;
  } cases[] = {{false, u"\u00E0\u00E1\r\n"}, {true, u"\u00E1\u00E0\r\n"}};
  for (const auto& c : cases) {
    fake::ResetClipboard();
    PageView view = ViewOf(&stream_, 224, c.drawReversed);
    CopyArticle(&view, false);
    EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)), Str((Utf16Bytes(c.text, true))))
        << c.drawReversed;
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
            std::string("{old") + kSeparator + "\\u1489\\u1488\\par\\par\r\n\\par\\par\r\n}\r\n" + std::string(1, '\0'));
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str((Utf16Bytes(u"old\u05D1\u05D0\r\n", true))));
}

TEST_F(ClipboardTest, AppendToNothingStartsADocument) {
  PageView view = ViewOf(&stream_, 1488, true);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())), Str((Rtf("\\u1489\\u1488\\par\\par\r\n\\par\\par\r\n"))));
}

// What LibreOffice Writer writes for two lines, "shalom olam" and "abc 12": no \uc of its
// own, so every \u is followed by one fallback byte (\'3f, a question mark).
constexpr char kWriterRtf[] =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f3\\froman\\fprq2\\fcharset0 DejaVu Serif;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{\\s0\\snext0\\rtlch\\af6\\afs24 \\ltrch\\f3\\fs24 Normal;}}"
    "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64}{\\info{\\creatim\\yr0\\mo0}}\\deftab709\r\n"
    "{\\*\\pgdsctbl\r\n{\\pgdsc0\\pgdscuse451 Default Page Style;}}\r\n"
    "\\pard\\plain \\s20\\rtlch\\af5\\afs20 \\ltrch\\ql\\ltrpar{\r\n"
    "\\u1513\\'3f\\u1500\\'3f\\u1493\\'3f\\u1501\\'3f \\u1506\\'3f\\u1493\\'3f\\u1500\\'3f\\u1501\\'3f}\r\n"
    "\\par \\pard\\plain \\s20\\ltrpar{\\loch\r\n"
    "abc 12}\r\n"
    "\\par }\r\n";
const std::u16string kWriterText = u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD\r\nabc 12\r\n";

// Regression: the article was joined to another program's document in that document's
// \uc1, so a reader took every second letter of the article for a fallback and dropped it.
TEST_F(ClipboardTest, AppendOntoAnotherProgramsDocumentKeepsBothWhole) {
  const std::u16string article = std::u16string{kBet, kAlef} + u"\r\n";
  const std::u16string stars = u"*  *  *  *  *\n\n";
  const std::u16string earlierRead = u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD\nabc 12\n";
  const struct {
    const char* name;
    bool withText;  // the other program offered its text beside the RTF
  } cases[] = {{"RTF and text", true}, {"RTF alone", false}};
  for (const auto& c : cases) {
    fake::ResetClipboard();
    fake::PutClipboardContent(RtfFormat(), std::vector<uint8_t>(kWriterRtf, kWriterRtf + sizeof kWriterRtf));
    if (c.withText) fake::PutClipboardContent(platform::kClipboardUnicodeText, Utf16Bytes(kWriterText, true));
    PageView view = ViewOf(&stream_, 1488, false);
    CopyArticle(&view, true);
    const std::string rtf = Bytes(fake::ClipboardContent(RtfFormat()));
    EXPECT_TRUE(ReadRtf(rtf) == earlierRead + stars + AsReadBack(article)) << c.name;
    // Without its own text the earlier document's text is read from its RTF.
    EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
              Str(Utf16Bytes(kWriterText + article, true)))
        << c.name;
  }
  // With only text offered, the text is the other document's text and the article.
  fake::ResetClipboard();
  fake::PutClipboardContent(RtfFormat(), std::vector<uint8_t>(kWriterRtf, kWriterRtf + sizeof kWriterRtf));
  PageView view = ViewOf(&stream_, 224, false);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str(Utf16Bytes(kWriterText + u"\u00E0\u00E1\r\n", true)));
  EXPECT_EQ(fake::ClipboardContent(RtfFormat()), nullptr);
}

// Regression: earlier plain text stayed in the text but not in the RTF, so a word processor
// pasting the RTF lost it.
TEST_F(ClipboardTest, AppendOntoPlainTextCarriesItIntoTheRtf) {
  // Lines ended by CR LF, a lone LF and a lone CR, an empty line, braces, and no line end
  // after the last.
  const std::u16string earlier = u"\u05E9\u05DC\u05D5\u05DD\r\n{x}\\\n\r 7\u05D0";
  fake::PutClipboardContent(platform::kClipboardUnicodeText, Utf16Bytes(earlier, true));
  PageView view = ViewOf(&stream_, 1488, false);
  CopyArticle(&view, true);
  const std::string rtf = Bytes(fake::ClipboardContent(RtfFormat()));
  ASSERT_EQ(rtf.compare(0, sizeof kHeader - 1, kHeader), 0);
  EXPECT_TRUE(ReadRtf(rtf) == u"\u05E9\u05DC\u05D5\u05DD\n{x}\\\n\n 7\u05D0\n*  *  *  *  *\n\n\u05D1\u05D0\n\n\n\n");
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str(Utf16Bytes(earlier + kBet + kAlef + u"\r\n", true)));
}

TEST_F(ClipboardTest, NoMemoryToMatchTheEarlierContentLeavesTheClipboardAsItWas) {
  // Allocations: the text buffer, the conversion, the copy of the earlier data, then the
  // other format made of it.
  const struct {
    const char* name;
    int32_t base;
    bool rtf;
  } cases[] = {{"text from RTF", 1488, true}, {"RTF from text", 1488, false}, {"text only, from RTF", 224, true}};
  for (const auto& c : cases) {
    fake::ResetAll();
    ResetConversionBuffer();
    const uint32_t format = c.rtf ? RtfFormat() : platform::kClipboardUnicodeText;
    const std::vector<uint8_t> held =
        c.rtf ? std::vector<uint8_t>(kWriterRtf, kWriterRtf + sizeof kWriterRtf) : Utf16Bytes(kWriterText, true);
    fake::PutClipboardContent(format, held);
    fake::FailAllocation(4);
    PageView view = ViewOf(&stream_, c.base, false);
    CopyArticle(&view, true);
    EXPECT_EQ(Bytes(fake::ClipboardContent(format)), Str(held)) << c.name;
    for (Step step : fake::ClipboardSteps()) EXPECT_NE(step, Step::kEmpty) << c.name;
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << c.name;
  }
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

TEST_F(ClipboardTest, PreviousRtfThatCannotBeCopiedIsMadeFromTheText) {
  PutOld();
  PageView view = ViewOf(&stream_, 1488, true);
  // Text buffer, conversion, then the copy of the previous RTF.
  fake::FailAllocation(3);
  CopyArticle(&view, true);
  EXPECT_EQ(Bytes(fake::ClipboardContent(RtfFormat())),
            Str((Rtf(std::string("old\\par") + kSeparator + "\\u1489\\u1488\\par\\par\r\n\\par\\par\r\n"))));
  EXPECT_EQ(Bytes(fake::ClipboardContent(platform::kClipboardUnicodeText)),
            Str((Utf16Bytes(u"old\u05D1\u05D0\r\n", true))));
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
