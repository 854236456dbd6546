// The Qt backend's clipboard: reads only between OpenClipboard and EmptyClipboard, and an
// offer of the article as RTF under every name desktop programs read RTF under, with the
// text beside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

class QtClipboardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_clipboard_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
  }
  // The Unicode text GetClipboardData answers now; "<none>" when it answers none.
  static std::u16string ReadText() {
    size_t size = 99;
    const uint8_t* data = platform::GetClipboardData(platform::kClipboardUnicodeText, &size);
    if (!data) return size == 0 ? u"<none>" : u"<none, but a size>";
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, size);
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }
  static bool Hand(uint32_t format, const std::string& bytes) {
    void* block = platform::AllocClipboardBlock(bytes.size());
    std::memcpy(block, bytes.data(), bytes.size());
    return platform::SetClipboardData(format, block, bytes.size());
  }
};

TEST_F(QtClipboardTest, ReadsOnlyWhileOpenAndBeforeItIsEmptied) {
  QGuiApplication::clipboard()->setText(QStringLiteral("left by another program"));
  EXPECT_EQ(ReadText(), u"<none>") << "not open";
  ASSERT_TRUE(platform::OpenClipboard());
  EXPECT_FALSE(platform::OpenClipboard()) << "open twice";
  EXPECT_EQ(ReadText(), u"left by another program");
  ASSERT_TRUE(platform::EmptyClipboard());
  EXPECT_EQ(ReadText(), u"<none>") << "emptied";
  platform::CloseClipboard();
  EXPECT_EQ(ReadText(), u"<none>") << "closed";
}

TEST_F(QtClipboardTest, AnOfferHoldsTheRtfUnderEveryNameAndTheTextBeside) {
  const uint32_t rtf = platform::RegisterClipboardFormat(u"Rich Text Format");
  EXPECT_EQ(platform::RegisterClipboardFormat(u"Rich Text Format"), rtf);
  ASSERT_TRUE(platform::OpenClipboard());
  EXPECT_FALSE(Hand(rtf, "{\\rtf1 x}")) << "handed over before EmptyClipboard";
  ASSERT_TRUE(platform::EmptyClipboard());
  EXPECT_TRUE(Hand(rtf, "{\\rtf1 x}"));
  EXPECT_TRUE(Hand(platform::kClipboardUnicodeText, std::string("a\0b\0\0\0z\0", 8)));
  platform::CloseClipboard();

  const QMimeData* offer = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(offer, nullptr);
  for (const char* type : {"text/rtf", "text/richtext", "application/rtf"})
    EXPECT_EQ(offer->data(QLatin1String(type)), QByteArray("{\\rtf1 x}")) << type;
  EXPECT_EQ(offer->text(), QStringLiteral("ab")) << "the text ends at its first 0";

  ASSERT_TRUE(platform::OpenClipboard());
  size_t size = 0;
  const uint8_t* data = platform::GetClipboardData(rtf, &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "{\\rtf1 x}");
  EXPECT_EQ(platform::GetClipboardData(platform::RegisterClipboardFormat(u"Something Else"), &size), nullptr);
  platform::CloseClipboard();
}

}  // namespace
