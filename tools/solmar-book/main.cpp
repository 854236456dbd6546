// solmar-book: compiles the book source into the program's resource pack and inspects packs.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "content/article.h"
#include "content/lz77_encoder.h"
#include "platform/pack.h"
#include "platform/platform.h"
#include "solmar-book/book_compiler.h"
#include "solmar-book/book_dump.h"
#include "solmar-book/tool_platform.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage:\n"
    "  solmar-book build SRC_DIR -o PACK   compile SRC_DIR/*.txt into a resource pack\n"
    "  solmar-book list PACK               one line per resource: id, size, S, U\n"
    "  solmar-book raw PACK ID             the stored resource bytes\n"
    "  solmar-book unpack PACK ID          the decompressed bytes\n"
    "  solmar-book dump PACK ID            the records, in book source syntax\n"
    "  solmar-book lz77 -c                 compress stdin to stdout\n"
    "  solmar-book lz77 -d U               decompress stdin (U output bytes) to stdout\n"
    "ID is a resource id (1001..1286, 32767), an article number 1..286, or 'index'.\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

bool ReadAll(std::FILE* in, std::vector<uint8_t>* bytes) {
  bytes->clear();
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes->insert(bytes->end(), buffer, buffer + got);
  return !std::ferror(in);
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  const bool ok = ReadAll(in, bytes);
  std::fclose(in);
  if (!ok) std::fprintf(stderr, "%s: read error\n", path.c_str());
  return ok;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !ok) {
    std::fprintf(stderr, "%s: write error\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteStdout(const uint8_t* bytes, size_t size) {
  return std::fwrite(bytes, 1, size, stdout) == size && std::fflush(stdout) == 0;
}

int Build(const std::string& sourceDir, const std::string& packPath) {
  std::vector<book::SourceFile> files;
  std::string error;
  if (!book::ReadSourceDirectory(sourceDir, &files, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitRefused;
  }
  book::CompiledBook compiled;
  std::vector<book::Diagnostic> diagnostics;
  std::vector<uint8_t> pack;
  if (!book::CompileBook(files, &compiled, &diagnostics) || !book::PackBook(compiled, &pack, &diagnostics)) {
    for (const book::Diagnostic& d : diagnostics) std::fprintf(stderr, "%s\n", book::FormatDiagnostic(d).c_str());
    return kExitRefused;
  }
  return WriteFile(packPath, pack) ? EXIT_SUCCESS : kExitRefused;
}

// A loaded pack: its bytes and the entries pointing into them.
struct Pack {
  std::vector<uint8_t> bytes;
  std::vector<platform::PackEntry> entries;
};

bool LoadPack(const std::string& path, Pack* pack) {
  if (!ReadFile(path, &pack->bytes)) return false;
  std::string error;
  if (!platform::ParsePack(pack->bytes.data(), pack->bytes.size(), &pack->entries, &error)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  tool::UseResources(pack->entries);
  return true;
}

// Resource id from an ID argument; 0 when it is not one.
uint32_t ParseResourceId(std::string_view text) {
  if (text == "index" || text == "toc") return book::kTableOfContentsResource;
  if (text.empty() || text.size() > 9) return 0;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + uint32_t(c - '0');
  }
  if (value >= 1 && value <= uint32_t(kArticleCount)) return kArticleResourceBase + value;
  return value;
}

uint16_t BigEndian16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

int List(const Pack& pack) {
  for (const platform::PackEntry& e : pack.entries) {
    if (e.type != platform::kResourceTypeRawData) {
      std::printf("%u %u type=%u\n", e.id, e.size, e.type);
    } else if (e.size < 10) {
      std::printf("%u %u - -\n", e.id, e.size);
    } else {
      std::printf("%u %u %u %u\n", e.id, e.size, BigEndian16(e.bytes + 6), BigEndian16(e.bytes + 8));
    }
  }
  return EXIT_SUCCESS;
}

const platform::PackEntry* FindEntry(const Pack& pack, std::string_view idText) {
  const uint32_t id = ParseResourceId(idText);
  const platform::PackEntry* entry =
      id ? platform::FindPackEntry(pack.entries, id, platform::kResourceTypeRawData) : nullptr;
  if (!entry) std::fprintf(stderr, "no resource %.*s in the pack\n", int(idText.size()), idText.data());
  return entry;
}

// Decodes a resource the way the reader does, through LoadArticle. The buffer is U + 1
// bytes long (the decoder's 0 after the data); *size gets U.
uint8_t* Decode(const platform::PackEntry& entry, size_t* size) {
  int reason = 0;
  uint8_t* buffer = LoadArticle(int(entry.id) - int(kArticleResourceBase), &reason);
  if (!buffer) {
    std::fprintf(stderr, "resource %u does not decode (reason %d)\n", entry.id, reason);
    return nullptr;
  }
  *size = BigEndian16(entry.bytes + 8);
  return buffer;
}

int Inspect(const std::string& command, const Pack& pack, std::string_view idText) {
  const platform::PackEntry* entry = FindEntry(pack, idText);
  if (!entry) return kExitRefused;
  if (command == "raw") return WriteStdout(entry->bytes, entry->size) ? EXIT_SUCCESS : kExitRefused;
  if (entry->id <= kArticleResourceBase) {
    std::fprintf(stderr, "resource %u is not an article or the table of contents\n", entry->id);
    return kExitRefused;
  }
  size_t size = 0;
  uint8_t* buffer = Decode(*entry, &size);
  if (!buffer) return kExitRefused;
  bool ok;
  if (command == "unpack") {
    ok = WriteStdout(buffer, size);
  } else {
    const std::string text = entry->id == book::kTableOfContentsResource
                                 ? book::DumpIndex(buffer, size)
                                 : book::DumpArticle(int(entry->id - kArticleResourceBase), buffer, size);
    ok = WriteStdout(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  platform::Free(buffer);
  return ok ? EXIT_SUCCESS : kExitRefused;
}

int Lz77(const std::vector<std::string_view>& args) {
  std::vector<uint8_t> input;
  if (!ReadAll(stdin, &input)) {
    std::fputs("read error on stdin\n", stderr);
    return kExitRefused;
  }
  if (args.size() == 1 && args[0] == "-c") {
    const std::vector<uint8_t> tokens = Lz77Compress(input.data(), input.size());
    return WriteStdout(tokens.data(), tokens.size()) ? EXIT_SUCCESS : kExitRefused;
  }
  if (args.size() != 2 || args[0] != "-d") return Usage();
  char* end = nullptr;
  const std::string count(args[1]);
  const unsigned long long outputLength = std::strtoull(count.c_str(), &end, 10);
  if (count.empty() || *end != 0 || count[0] == '-' || outputLength == 0 || outputLength > 0xFFFFFFFFull) {
    std::fputs("lz77 -d needs the output length U, 1..4294967295\n", stderr);
    return kExitUsage;
  }
  static const uint8_t kNothing = 0;
  const DecompressionDescriptor descriptor{input.empty() ? &kNothing : input.data(), uint32_t(input.size()),
                                           uint32_t(outputLength)};
  int reason = 0;
  uint8_t* buffer = UnCompress(&descriptor, &reason);
  if (!buffer) {
    std::fprintf(stderr, "the input does not decode to %llu bytes (reason %d)\n", outputLength, reason);
    return kExitRefused;
  }
  const bool ok = WriteStdout(buffer, size_t(outputLength));
  platform::Free(buffer);
  return ok ? EXIT_SUCCESS : kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string command(args[0]);
  if (command == "build") {
    if (args.size() != 4 || args[2] != "-o") return Usage();
    return Build(std::string(args[1]), std::string(args[3]));
  }
  if (command == "lz77") return Lz77({args.begin() + 1, args.end()});
  if (command == "list" || command == "raw" || command == "unpack" || command == "dump") {
    if (args.size() != (command == "list" ? 2u : 3u)) return Usage();
    Pack pack;
    if (!LoadPack(std::string(args[1]), &pack)) return kExitRefused;
    return command == "list" ? List(pack) : Inspect(command, pack, args[2]);
  }
  return Usage();
}
