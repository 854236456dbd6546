// Codec throughput on the compiled book: decoding every article the way the reader does and
// with a plain byte-by-byte decoder, encoding them again, and a plain memcpy of the same
// bytes for scale.
//
// The pack is the one the build compiled (SOLMAR_BOOK_PACK_FILE); set the environment
// variable SOLMAR_BOOK_PACK to measure another.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/lz77_encoder.h"
#include "lz77_reference.h"
#include "platform/pack.h"
#include "platform/platform.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Resource {
  const uint8_t* block;  // resource offset 6
  uint32_t blockLength;  // L
  Bytes stream;          // decompressed
};

struct Book {
  Bytes pack;
  std::vector<Resource> resources;
  size_t decompressedBytes = 0;
  size_t compressedBytes = 0;  // S, summed
};

uint16_t BigEndian16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// The plain decoder of lz77_reference.h on the same blocks, with the same header checks
// and the same U + 2 byte heap buffer: the yardstick BM_DecodeBook is measured against.
uint8_t* PlainReadCompressedBlock(const uint8_t* block, uint32_t blockLength) {
  if (blockLength < 5) return nullptr;
  const uint32_t s = BigEndian16(block);
  const uint32_t u = BigEndian16(block + 2);
  if (s == 0 || u == 0) return nullptr;
  auto* buffer = static_cast<uint8_t*>(platform::Alloc(size_t(u) + 2));
  if (!buffer) return nullptr;
  if (!lz77_reference::PlainDecode(block + 4, s, buffer, u)) {
    platform::Free(buffer);
    return nullptr;
  }
  buffer[u] = 0;
  return buffer;
}

const Book& TheBook() {
  static const Book book = [] {
    Book b;
    const char* path = std::getenv("SOLMAR_BOOK_PACK");
    if (!path) path = SOLMAR_BOOK_PACK_FILE;
    std::ifstream in(path, std::ios::binary);
    b.pack.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::vector<platform::PackEntry> entries;
    std::string error;
    if (!platform::ParsePack(b.pack.data(), b.pack.size(), &entries, &error)) {
      std::fprintf(stderr, "%s: %s\n", path, error.c_str());
      std::exit(1);
    }
    for (const platform::PackEntry& e : entries) {
      if (e.type != platform::kResourceTypeRawData || e.size < 14) continue;
      Resource r{e.bytes + 6, BigEndian16(e.bytes), {}};
      const uint32_t u = BigEndian16(e.bytes + 8);
      uint8_t* decoded = ReadCompressedBlock(r.block, r.blockLength, nullptr);
      if (!decoded) {
        std::fprintf(stderr, "%s: resource %u does not decode\n", path, e.id);
        std::exit(1);
      }
      r.stream.assign(decoded, decoded + u);
      platform::Free(decoded);
      uint8_t* plain = PlainReadCompressedBlock(r.block, r.blockLength);
      const bool same = plain && std::memcmp(plain, r.stream.data(), u) == 0;
      platform::Free(plain);
      if (!same) {
        std::fprintf(stderr, "%s: resource %u decodes differently with the plain decoder\n", path, e.id);
        std::exit(1);
      }
      b.decompressedBytes += u;
      b.compressedBytes += BigEndian16(e.bytes + 6);
      b.resources.push_back(std::move(r));
    }
    return b;
  }();
  return book;
}

void ReportBook(benchmark::State& state, const Book& book) {
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(book.decompressedBytes));
  state.counters["resources"] = double(book.resources.size());
  // Seconds per resource (printed with an SI prefix: 3.2u is 3.2 microseconds).
  state.counters["s_per_resource"] = benchmark::Counter(
      double(state.iterations()) * double(book.resources.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every resource decoded from the pack bytes, as LoadArticle does it, and freed.
void BM_DecodeBook(benchmark::State& state) {
  const Book& book = TheBook();
  for (auto _ : state) {
    for (const Resource& r : book.resources) {
      uint8_t* decoded = ReadCompressedBlock(r.block, r.blockLength, nullptr);
      benchmark::DoNotOptimize(decoded);
      platform::Free(decoded);
    }
  }
  ReportBook(state, book);
}
BENCHMARK(BM_DecodeBook)->Unit(benchmark::kMillisecond);

void BM_DecodeBookPlain(benchmark::State& state) {
  const Book& book = TheBook();
  for (auto _ : state) {
    for (const Resource& r : book.resources) {
      uint8_t* decoded = PlainReadCompressedBlock(r.block, r.blockLength);
      benchmark::DoNotOptimize(decoded);
      platform::Free(decoded);
    }
  }
  ReportBook(state, book);
}
BENCHMARK(BM_DecodeBookPlain)->Unit(benchmark::kMillisecond);

// The same bytes copied once, for scale.
void BM_MemcpyBook(benchmark::State& state) {
  const Book& book = TheBook();
  Bytes target(65536);
  for (auto _ : state) {
    for (const Resource& r : book.resources) {
      std::memcpy(target.data(), r.stream.data(), r.stream.size());
      benchmark::ClobberMemory();
    }
  }
  ReportBook(state, book);
}
BENCHMARK(BM_MemcpyBook)->Unit(benchmark::kMillisecond);

// Every stream compressed again with the optimal parse; the counters compare its size with
// the pack's and with a greedy parse of the same streams.
void BM_EncodeBook(benchmark::State& state) {
  const Book& book = TheBook();
  size_t compressed = 0;
  for (auto _ : state) {
    compressed = 0;
    for (const Resource& r : book.resources) compressed += Lz77Compress(r.stream.data(), r.stream.size()).size();
  }
  ReportBook(state, book);
  static const size_t greedy = [&] {
    size_t total = 0;
    for (const Resource& r : book.resources)
      total += lz77_reference::GreedyCompress(r.stream.data(), r.stream.size()).size();
    return total;
  }();
  state.counters["decompressed_bytes"] = double(book.decompressedBytes);
  state.counters["compressed_bytes"] = double(compressed);
  state.counters["ratio"] = double(book.decompressedBytes) / double(compressed);
  state.counters["greedy_bytes"] = double(greedy);
  state.counters["greedy_extra_pct"] = 100.0 * (double(greedy) - double(compressed)) / double(compressed);
}
BENCHMARK(BM_EncodeBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
