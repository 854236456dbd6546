// Helpers shared by the book compiler's tests: small complete books around a piece of source
// under test, and compiling them.
#pragma once

#include <string>
#include <vector>

#include "solmar-book/book_compiler.h"

namespace book_test {

// "@article n" with one plain right-to-left paragraph, for every n in first..last.
inline std::string FillerArticles(int first, int last) {
  std::string out;
  for (int n = first; n <= last; ++n) out += "@article " + std::to_string(n) + "\np rtl | \xD7\x90\n";
  return out;
}

inline const char kMinimalIndex[] = "@index\nentry 0 1 | \xD7\x90\n";

// A complete one-file book named "book.txt" whose article 1 has the given records (line 2
// onwards), followed by articles 2..286 and a one-entry index.
inline std::vector<book::SourceFile> BookWithArticle1(const std::string& records) {
  return {{"book.txt", "@article 1\n" + records + FillerArticles(2, 286) + kMinimalIndex}};
}

// A complete one-file book with the given index section (starting with "@index").
inline std::vector<book::SourceFile> BookWithIndex(const std::string& index) {
  return {{"book.txt", FillerArticles(1, 286) + index}};
}

struct Result {
  bool ok;
  book::CompiledBook book;
  std::vector<std::string> messages;  // "file:line: message"
};

inline Result Compile(const std::vector<book::SourceFile>& files) {
  Result result;
  std::vector<book::Diagnostic> diagnostics;
  result.ok = book::CompileBook(files, &result.book, &diagnostics);
  for (const book::Diagnostic& d : diagnostics) result.messages.push_back(book::FormatDiagnostic(d));
  return result;
}

}  // namespace book_test
