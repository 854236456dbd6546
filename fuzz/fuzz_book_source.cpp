// The book compiler on arbitrary source. The first byte chooses where the rest goes: a
// whole source file, the records of article 1 in an otherwise complete book, or the records
// of its index. Whatever compiles must pack, load through the reader's path, and dump to
// source that compiles to the same bytes. The dump is also run on the raw bytes, as the
// inspector meets them in a damaged pack.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/article.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "solmar-book/book_compiler.h"
#include "solmar-book/book_dump.h"
#include "solmar-book/book_text.h"

namespace {

std::string Articles(int first, int last) {
  std::string out;
  for (int n = first; n <= last; ++n) out += "@article " + std::to_string(n) + "\np rtl | \xD7\x90\n";
  return out;
}

const std::string& OtherArticles() {
  static const std::string text = Articles(2, 286);
  return text;
}

const std::string& AllArticles() {
  static const std::string text = Articles(1, 286);
  return text;
}

bool Compile(const std::string& source, book::CompiledBook* compiled) {
  std::vector<book::Diagnostic> diagnostics;
  const bool ok = book::CompileBook({{"fuzz.txt", source}}, compiled, &diagnostics);
  if (ok != diagnostics.empty()) std::abort();
  return ok;
}

void CheckCompiled(const book::CompiledBook& compiled) {
  std::vector<uint8_t> pack;
  std::vector<book::Diagnostic> diagnostics;
  if (!book::PackBook(compiled, &pack, &diagnostics)) return;  // too large to pack: refused, fine
  fake::ResetAll();
  if (!fake::UsePack(pack)) std::abort();
  for (int article : {1, kTableOfContentsArticle}) {
    const std::vector<uint8_t>& expected =
        article == 1 ? compiled.articles[0].bytes : compiled.index.bytes;
    uint8_t* loaded = LoadArticle(article, nullptr);
    if (!loaded || std::vector<uint8_t>(loaded, loaded + expected.size()) != expected) std::abort();
    platform::Free(loaded);
  }
  const std::vector<uint8_t>& first = compiled.articles[0].bytes;
  const std::vector<uint8_t>& index = compiled.index.bytes;
  const std::string dumped = book::DumpArticle(1, first.data(), first.size()) + OtherArticles() +
                             book::DumpIndex(index.data(), index.size());
  book::CompiledBook again;
  if (!Compile(dumped, &again) || again.articles[0].bytes != first || again.index.bytes != index) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 20000) return 0;
  const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::string letters, error;
  if (book::EncodeText(body, &letters, &error) && letters.find('\0') == std::string::npos) {
    std::string back;
    if (!book::EncodeText(book::DecodeText(letters), &back, &error) || back != letters) std::abort();
  }
  book::DumpArticle(1, reinterpret_cast<const uint8_t*>(body.data()), body.size());
  book::DumpIndex(reinterpret_cast<const uint8_t*>(body.data()), body.size());

  book::CompiledBook compiled;
  switch (data[0] % 3) {
    case 0:
      if (Compile(body, &compiled)) CheckCompiled(compiled);
      break;
    case 1:
      if (Compile("@article 1\n" + body + "\n" + OtherArticles() + "@index\nentry 0 1 | \xD7\x90\n", &compiled))
        CheckCompiled(compiled);
      break;
    default:
      if (Compile(AllArticles() + "@index\n" + body + "\n", &compiled)) CheckCompiled(compiled);
  }
  return 0;
}
