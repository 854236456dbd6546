#include "content/article.h"

#include <cstring>

#include "platform/platform.h"
#include "platform/ui_text.h"

namespace {

void Store(int* reason, int code) {
  if (reason) *reason = code;
}

// The block checks, with the compressed data limited to available bytes.
uint8_t* ReadBlock(const uint8_t* block, uint32_t blockLength, uint32_t available, int* reason) {
  if (blockLength < 5) {
    Store(reason, kLoadMalformedBlock);
    return nullptr;
  }
  const uint32_t s = uint32_t(block[0]) << 8 | block[1];
  if (s == 0) {
    Store(reason, kLoadMalformedBlock);
    return nullptr;
  }
  const uint32_t u = uint32_t(block[2]) << 8 | block[3];
  DecompressionDescriptor descriptor{block + 4, s < available ? s : available, u};
  return UnCompress(&descriptor, reason);
}

}  // namespace

uint16_t ArticleResourceId(int article) { return uint16_t(kArticleResourceBase + uint32_t(article)); }

uint8_t* LoadArticle(int article, int* reason, uint32_t* length) {
  if (article - 1 < 0) return nullptr;
  const platform::Resource* resource = platform::FindResource(ArticleResourceId(article), platform::kResourceTypeRawData);
  if (!resource) {
    Store(reason, kLoadNoResource);
    return nullptr;
  }
  const uint32_t size = platform::ResourceSize(resource);
  const uint8_t* bytes = size ? platform::LoadResource(resource) : nullptr;
  if (!bytes) {
    Store(reason, kLoadNoMemory);
    return nullptr;
  }
  // A resource too short to hold its own header cannot be trusted for L, S or U; it is
  // malformed rather than read past its end.
  if (size < 10) {
    Store(reason, kLoadMalformedBlock);
    return nullptr;
  }
  const uint32_t blockLength = uint32_t(bytes[0]) << 8 | bytes[1];
  // L, S and the resource size are not compared with one another, but the decoder never
  // reads past the resource: the compressed data is bounded by what follows S and U.
  uint8_t* buffer = ReadBlock(bytes + 6, blockLength, size - 10, reason);
  if (buffer && length) *length = uint32_t(bytes[8]) << 8 | bytes[9];
  return buffer;
}

uint8_t* ReadCompressedBlock(const uint8_t* block, uint32_t blockLength, int* reason) {
  return ReadBlock(block, blockLength, UINT32_MAX, reason);
}

uint8_t* UnCompress(const DecompressionDescriptor* descriptor, int* reason) {
  const uint32_t u = descriptor->outputLength;
  if (u == 0 || !descriptor->source) {
    Store(reason, kLoadNothingToDecode);
    return nullptr;
  }
  auto* buffer = static_cast<uint8_t*>(platform::Alloc(size_t(u) + 2));
  if (!buffer) {
    Store(reason, kLoadNoMemory);
    return nullptr;
  }
  const uint8_t* in = descriptor->source;
  const uint8_t* const inEnd = in + descriptor->compressedLength;
  uint8_t* out = buffer;
  uint8_t* const outEnd = buffer + u;
  bool malformed = false;

  // Fast loop: while at least 9 token bytes and 16 bytes of output room remain, no token
  // can run past either end (a token reads at most 1 + 8 bytes and writes at most 10), so
  // the bounds are checked once per token here instead of once per byte, and runs and
  // back-references are copied in fixed 8-byte words that may write a few bytes beyond
  // the token's own output. Those bytes lie inside the buffer (room >= 16) and at or past
  // the new `out`, so the following tokens overwrite them, in order, before the output can
  // be full; a decode that fails frees the buffer anyway.
  while (inEnd - in >= 9 && outEnd - out >= 16) {
    const uint8_t t = *in++;
    if (t >= 0x01 && t <= 0x08) {
      std::memcpy(out, in, 8);  // the token's t bytes, and up to 7 more that are overwritten
      in += t;
      out += t;
    } else if (t < 0x80) {
      *out++ = t;
    } else if (t < 0xC0) {
      const uint32_t w = uint32_t(t) << 8 | *in++;
      const uint32_t distance = (w >> 3) & 0x7FF;
      const uint32_t length = (w & 7) + 3;
      if (distance == 0 || distance > uint32_t(out - buffer)) {
        malformed = true;
        break;
      }
      const uint8_t* from = out - distance;
      if (distance >= 8) {
        // Each 8-byte word reads only bytes already final: the first ends at or before
        // out, the second at or before out + 8, which the first has just written.
        std::memcpy(out, from, 8);
        std::memcpy(out + 8, from + 8, 8);
      } else {
        // A distance below 8 repeats the last bytes: copy one byte at a time, in order.
        for (uint32_t i = 0; i < length; ++i) out[i] = from[i];
      }
      out += length;
    } else {
      out[0] = ' ';
      out[1] = uint8_t(t ^ 0x80);
      out += 2;
    }
  }

  // The last tokens, where a token may be cut short by the output's end or have operands
  // missing from the input: every byte is checked.
  while (in < inEnd && out < outEnd && !malformed) {
    const uint8_t t = *in++;
    if (t >= 0x01 && t <= 0x08) {
      // The run's bytes are needed only until the output is full.
      for (uint8_t i = 0; i < t && out < outEnd; ++i) {
        if (in >= inEnd) {
          malformed = true;
          break;
        }
        *out++ = *in++;
      }
    } else if (t < 0x80) {
      *out++ = t;
    } else if (t < 0xC0) {
      if (in >= inEnd) {  // second byte of the back-reference is missing
        malformed = true;
        break;
      }
      const uint32_t w = uint32_t(t) << 8 | *in++;
      const uint32_t distance = (w >> 3) & 0x7FF;
      uint32_t length = (w & 7) + 3;
      if (distance == 0 || distance > uint32_t(out - buffer)) {
        malformed = true;
        break;
      }
      const uint8_t* from = out - distance;
      while (length-- && out < outEnd) *out++ = *from++;
    } else {
      *out++ = ' ';
      if (out >= outEnd) break;
      *out++ = uint8_t(t ^ 0x80);
    }
  }

  if (!malformed && out == outEnd) {
    *out = 0;
    return buffer;
  }
  platform::Free(buffer);
  platform::MessageBox(nullptr, SOLMAR_TEXT("MessageBox", "UnCompress() buffer error!"), nullptr, platform::kMbOk);
  Store(reason, kLoadLengthMismatch);
  return nullptr;
}
