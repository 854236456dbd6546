// The pack parser on arbitrary bytes: every entry it accepts must lie inside the input,
// and writing the entries again must give a pack that parses to the same entries.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> copy(data, data + size);  // exact size: over-reads are caught
  std::vector<platform::PackEntry> entries;
  std::string error;
  if (!platform::ParsePack(copy.data(), copy.size(), &entries, &error)) {
    if (!entries.empty() || error.empty()) std::abort();
    return 0;
  }
  unsigned sum = 0;
  for (const platform::PackEntry& e : entries) {
    for (uint32_t i = 0; i < e.size; ++i) sum += e.bytes[i];
    if (platform::FindPackEntry(entries, e.id, e.type) == nullptr) std::abort();
  }
  const std::vector<uint8_t> written = platform::WritePack(entries);
  std::vector<platform::PackEntry> again;
  if (!platform::ParsePack(written.data(), written.size(), &again, nullptr) || again.size() != entries.size())
    std::abort();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (again[i].id != entries[i].id || again[i].type != entries[i].type || again[i].size != entries[i].size ||
        std::memcmp(again[i].bytes, entries[i].bytes, entries[i].size) != 0)
      std::abort();
  }
  return int(sum & 0);
}
