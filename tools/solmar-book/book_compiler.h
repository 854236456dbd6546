// The book compiler: book source (resources/book/FORMAT.md) to the program's resource pack.
//
// Compiling runs in two steps. CompileBook parses every source file and builds the
// decompressed streams: a ParagraphStream for each article 1..286 (its records and a final
// 0 flags byte) and the IndexStream of the table of contents (its records and five 0
// bytes). PackBook compresses each stream into the article resource layout and gathers
// them into a pack: resources 1001..1286 and 32767, type 10.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace book {

constexpr uint32_t kTableOfContentsResource = 32767;
// U and L are 16-bit fields: a stream holds at most 65,535 bytes, and the compressed data at
// most 65,535 - 8 so that L = S + 8 still fits.
constexpr size_t kMaxStreamBytes = 65535;
constexpr size_t kMaxCompressedBytes = 65535 - 8;
// The bookmark group that the index dialog puts in front of the table of contents uses
// this heading group number; the table of contents must not.
constexpr uint16_t kBookmarkGroupNumber = 0x0877;

struct SourceFile {
  std::string name;  // as shown in messages
  std::string text;  // UTF-8
};

struct Diagnostic {
  std::string file;
  int line;
  std::string message;
};

// "file:line: message".
std::string FormatDiagnostic(const Diagnostic& diagnostic);

struct CompiledStream {
  std::vector<uint8_t> bytes;  // decompressed: records, then the end marker
  std::string file;            // where its @article / @index line stands
  int line = 0;
};

struct CompiledBook {
  std::vector<CompiledStream> articles;  // article n at index n - 1
  CompiledStream index;
};

// Parses and compiles the files in the order given. False when the source is refused; every
// problem found is appended to diagnostics, in source order.
bool CompileBook(const std::vector<SourceFile>& files, CompiledBook* book, std::vector<Diagnostic>* diagnostics);

// One resource in the article layout, big-endian: L = S + 8, the sequence values A and B,
// S, U, the S compressed bytes and four zero bytes. False (and no resource) when the stream
// is empty or larger than kMaxStreamBytes, or its compressed form exceeds
// kMaxCompressedBytes.
bool MakeResource(const std::vector<uint8_t>& stream, uint16_t sequenceA, uint16_t sequenceB,
                  std::vector<uint8_t>* resource);

// Compresses every stream of a compiled book into a pack. Articles get A = B = n + 20, the
// table of contents A = 1, B = 255. False with diagnostics when a resource does not fit.
bool PackBook(const CompiledBook& book, std::vector<uint8_t>* pack, std::vector<Diagnostic>* diagnostics);

// Reads every *.txt file directly in directory, in file-name order. False with a message
// when the directory cannot be read or holds no source file.
bool ReadSourceDirectory(const std::string& directory, std::vector<SourceFile>* files, std::string* error);

}  // namespace book
