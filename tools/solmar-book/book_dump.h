// Readable dumps of decompressed streams, written in the book source syntax.
//
// Every record becomes one source line with its exact flags and param (and key), text in
// reading order (right-to-left records turned back), so a dump compiles to the same bytes.
// Titles and subtitles that follow the title convention are written as such; a text record
// whose stored text begins with a space and whose param carries a lead factor is written
// as a continuation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace book {

// "@article N" and one line per ParagraphStream record, up to the 0 flags byte.
std::string DumpArticle(int article, const uint8_t* stream, size_t size);

// "@index" and one line per IndexStream record, up to the record whose flags are 0.
std::string DumpIndex(const uint8_t* stream, size_t size);

}  // namespace book
