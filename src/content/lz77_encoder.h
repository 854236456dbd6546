// The PalmDoc LZ77 encoder: the other half of UnCompress (article.h).
//
// Token stream, one token after another:
//   0x01..0x08        literal run: that many raw bytes follow (any values)
//   0x00, 0x09..0x7F  the byte itself
//   0x80..0xBF + b    back-reference: w = t << 8 | b, distance (w >> 3) & 0x7FF (1..2047),
//                     length (w & 7) + 3 (3..10); the source may overlap the output
//   0xC0..0xFF        space followed by the byte t ^ 0x80 (0x40..0x7F)
// Bytes 0x01..0x08 and 0x80..0xFF can only travel inside a literal run.
//
// The encoder is used by the book compiler, the tests and the benchmarks; the reader
// itself only decodes. It works on ordinary memory and does not use the platform heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Compresses size bytes into the smallest token stream made of whole tokens: an optimal
// parse (shortest path over token costs, computed from the end of the input) rather than a
// greedy one. Every token is complete, so any PalmDoc decoder reads the stream back; the
// decoder's tolerance for a last token cut short by the output length is not exploited.
// An empty input gives an empty stream.
std::vector<uint8_t> Lz77Compress(const uint8_t* data, size_t size);
