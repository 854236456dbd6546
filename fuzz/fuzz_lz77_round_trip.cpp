// The encoder on arbitrary bytes: its stream must decode to the input exactly and be no
// larger than literal runs alone would make it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/article.h"
#include "content/lz77_encoder.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 65535) return 0;
  const std::vector<uint8_t> tokens = Lz77Compress(data, size);
  if (tokens.size() > size + (size + 7) / 8) std::abort();
  fake::ResetAll();
  const DecompressionDescriptor descriptor{tokens.data(), uint32_t(tokens.size()), uint32_t(size)};
  uint8_t* decoded = UnCompress(&descriptor, nullptr);
  if (!decoded || std::memcmp(decoded, data, size) != 0 || decoded[size] != 0) std::abort();
  platform::Free(decoded);
  return 0;
}
