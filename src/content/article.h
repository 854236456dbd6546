// Articles: compressed raw-data resources of the program, decoded on every load.
//
// Resource layout (big-endian): L (2) = bytes from offset 6 to the end, two unread
// sequence values (2 + 2), then the block: S (2) compressed length, U (2) output length,
// S bytes of PalmDoc LZ77 tokens, four zero bytes.
#pragma once

#include <cstdint>

constexpr int kTableOfContentsArticle = 31767;   // resource 32767
constexpr int kArticleCount = 286;
constexpr int kLastArticle = kArticleCount;
constexpr int kLastPage = kArticleCount - 1;  // the last odd article: the last page of main text
constexpr uint32_t kArticleResourceBase = 1000;

// Reason codes stored on failure (nothing is stored on success).
constexpr int kLoadNoResource = 1;
constexpr int kLoadNoMemory = 2;        // also: resource of size 0 or not loadable
constexpr int kLoadMalformedBlock = 3;  // L < 5 or S = 0
constexpr int kLoadNothingToDecode = 4; // U = 0 or no source
constexpr int kLoadLengthMismatch = 5;  // tokens did not produce exactly U bytes

struct DecompressionDescriptor {
  const uint8_t* source;
  uint32_t compressedLength;  // S
  uint32_t outputLength;      // U
};

// Resource identifier of an article: (1000 + n) truncated to 16 bits.
uint16_t ArticleResourceId(int article);

// A new heap buffer of U + 2 bytes holding the decompressed article and a 0 at offset U,
// or none. Articles below 1 give none without a reason code. When length is given, a
// successful load stores U there: the bytes a reader may walk before the final 0.
uint8_t* LoadArticle(int article, int* reason, uint32_t* length = nullptr);

// Checks the block at resource offset 6 and decodes it. L is checked (at least 5) but not
// compared with S: the caller guarantees that the block holds S + 4 bytes. (LoadArticle
// bounds the data by the resource's size instead of relying on that.)
uint8_t* ReadCompressedBlock(const uint8_t* block, uint32_t blockLength, int* reason);

// Decodes the token stream. Input that would read past the compressed data or before the
// start of the output is reported like a length mismatch (code 5, with its message box).
uint8_t* UnCompress(const DecompressionDescriptor* descriptor, int* reason);
