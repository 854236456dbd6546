// The decoder on arbitrary bytes: as a block that holds its S bytes (ReadCompressedBlock,
// L = the input's length)
// and as a whole resource found by LoadArticle. It must never read outside the input or
// write outside its buffer, must leave no allocation behind, and a success must hold
// exactly U bytes and the 0 after them. On a block it must also accept and refuse exactly
// what the plain byte-by-byte decoder does, with the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/article.h"
#include "lz77_reference.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"

namespace {

void Check(uint8_t* buffer, uint32_t outputLength) {
  if (buffer) {
    if (buffer[outputLength] != 0) std::abort();
    platform::Free(buffer);
  }
  if (fake::LiveBlocks() != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 70000) return 0;
  fake::ResetAll();
  // An exact-size copy, so that AddressSanitizer sees any read past the end.
  const std::vector<uint8_t> block(data, data + size);
  // A block read directly must hold the S bytes it claims (LoadArticle, below, takes any).
  const uint32_t outputLength = size >= 4 ? uint32_t(data[2]) << 8 | data[3] : 0;
  const uint32_t compressedLength = size >= 2 ? uint32_t(data[0]) << 8 | data[1] : 0;
  if (size >= 4 && compressedLength <= size - 4) {
    uint8_t* decoded = ReadCompressedBlock(block.data(), uint32_t(block.size()), nullptr);
    if (compressedLength != 0 && outputLength != 0) {
      std::vector<uint8_t> plain(outputLength);
      const bool plainOk = lz77_reference::PlainDecode(block.data() + 4, compressedLength, plain.data(), outputLength);
      if (plainOk != (decoded != nullptr)) std::abort();
      if (decoded && std::memcmp(decoded, plain.data(), outputLength) != 0) std::abort();
    }
    Check(decoded, outputLength);
  }

  fake::ResetAll();
  fake::AddResource(1001, platform::kResourceTypeRawData, std::vector<uint8_t>(data, data + size));
  int reason = 0;
  uint8_t* article = LoadArticle(1, &reason);
  Check(article, size >= 10 ? uint32_t(data[8]) << 8 | data[9] : 0);
  return 0;
}
