// Every article of the compiled book: the measured buffer always suffices, the sizing pass
// of the RTF body is never exceeded, and no escape runs into a digit.
#include <fstream>
#include <iterator>

#include "content/article.h"
#include "export_fixture.h"

namespace export_test {
namespace {

using BookExportTest = ExportTest;

TEST_F(BookExportTest, EveryArticleFitsItsBuffersInEveryLetterBase) {
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  ASSERT_TRUE(fake::UsePack(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}))) << SOLMAR_BOOK_PACK_FILE;
  const struct {
    int32_t base;
    bool reverse;
  } settings[] = {{1488, true}, {1488, false}, {224, true}, {97, false}};
  size_t checked = 0;
  for (int article = 1; article <= kArticleCount; ++article) {
    uint32_t length = 0;
    uint8_t* stream = LoadArticle(article, nullptr, &length);
    ASSERT_NE(stream, nullptr) << article;
    for (const auto& s : settings) {
      // ExportArticleText fails when the text would not fit its measured buffer.
      char16_t* text = ExportArticleText(stream, stream + length + 1, s.base, s.reverse);
      ASSERT_NE(text, nullptr) << article;
      EXPECT_TRUE(fake::MessageBoxes().empty()) << article;
      if (s.base == 1488) {
        uint8_t* body = MakeRtfBody(text);
        ASSERT_NE(body, nullptr);
        const std::string rtf(reinterpret_cast<const char*>(body));
        EXPECT_LE(rtf.size(), MeasureRtfBody(text)) << article;
        // Letters are escapes; only ASCII that stands for itself is left between them.
        for (const char c : rtf) ASSERT_TRUE(c >= 0x20 ? c < 0x7F : c == '\r' || c == '\n') << article;
        platform::Free(body);
        // An RTF reader gets every character back: no space added, no digit joined to a
        // number, no letter taken for the fallback of the one before it.
        size_t documentLength = 0;
        uint8_t* document = MakeRtfDocument(text, &documentLength);
        ASSERT_NE(document, nullptr);
        EXPECT_TRUE(ReadRtf(std::string(reinterpret_cast<const char*>(document), documentLength)) == AsReadBack(text))
            << article;
        platform::Free(document);
        ++checked;
      }
      platform::Free(text);
    }
    platform::Free(stream);
  }
  EXPECT_EQ(checked, size_t(2 * kArticleCount));
}

}  // namespace
}  // namespace export_test
