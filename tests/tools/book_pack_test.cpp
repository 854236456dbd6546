// The book the build compiled: the pack that solmar-book wrote from resources/book must hold
// exactly what the compiler makes of the sources, and every resource must load through the
// reader's own path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/streams.h"
#include "platform/fake/fake_platform.h"
#include "platform/pack.h"
#include "platform/platform.h"
#include "solmar-book/book_compiler.h"

extern "C" const unsigned char solmar_book_pack[];
extern "C" const unsigned char solmar_book_pack_end[];

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

book::CompiledBook CompileSources(const std::vector<book::SourceFile>& files) {
  book::CompiledBook compiled;
  std::vector<book::Diagnostic> diagnostics;
  EXPECT_TRUE(book::CompileBook(files, &compiled, &diagnostics));
  for (const book::Diagnostic& d : diagnostics) ADD_FAILURE() << book::FormatDiagnostic(d);
  return compiled;
}

TEST(BookPack, EveryResourceOfTheBuiltPackLoadsToTheCompiledStream) {
  const Bytes pack = ReadFile(SOLMAR_BOOK_PACK_FILE);
  ASSERT_FALSE(pack.empty()) << SOLMAR_BOOK_PACK_FILE;
  std::vector<book::SourceFile> files;
  std::string error;
  ASSERT_TRUE(book::ReadSourceDirectory(SOLMAR_BOOK_SOURCE_DIR, &files, &error)) << error;
  const book::CompiledBook compiled = CompileSources(files);

  fake::ResetAll();
  ASSERT_TRUE(fake::UsePack(pack));
  for (int article = 1; article <= kArticleCount + 1; ++article) {
    const int number = article <= kArticleCount ? article : kTableOfContentsArticle;
    const Bytes& expected = number == kTableOfContentsArticle ? compiled.index.bytes
                                                              : compiled.articles[size_t(article - 1)].bytes;
    SCOPED_TRACE(number);
    int reason = 0;
    uint8_t* buffer = LoadArticle(number, &reason);
    ASSERT_NE(buffer, nullptr) << "reason " << reason;
    EXPECT_EQ(Bytes(buffer, buffer + expected.size()), expected);
    EXPECT_EQ(buffer[expected.size()], 0);
    EXPECT_EQ(fake::LiveBytes(), expected.size() + 2);  // U + 2: U is the stream's length
    platform::Free(buffer);
  }
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_EQ(fake::LiveBlocks(), 0);
}

// The program carries the pack as linked data; it must be the pack file, byte for byte
// (this also fails when the object is not rebuilt after the book changed).
TEST(BookPack, LinkedPackIsThePackFile) {
  const Bytes linked(solmar_book_pack, solmar_book_pack_end);
  EXPECT_EQ(linked, ReadFile(SOLMAR_BOOK_PACK_FILE));
  std::vector<platform::PackEntry> entries;
  EXPECT_TRUE(platform::ParsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack), &entries, nullptr));
  EXPECT_EQ(entries.size(), size_t(kArticleCount + 1));
}

}  // namespace
