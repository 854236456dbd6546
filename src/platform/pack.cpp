#include "platform/pack.h"

#include <cstring>

namespace platform {
namespace {

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void AppendLe32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

bool Fail(std::string* error, const char* message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool ParsePack(const uint8_t* data, size_t size, std::vector<PackEntry>* entries, std::string* error) {
  entries->clear();
  if (!data || size < 12) return Fail(error, "pack too short");
  if (std::memcmp(data, kPackMagic, sizeof kPackMagic) != 0) return Fail(error, "not a resource pack");
  const uint32_t count = ReadLe32(data + 8);
  const size_t tableEnd = 12 + size_t(count) * 12;
  if (count > (size - 12) / 12) return Fail(error, "entry table runs past the end");
  size_t offset = tableEnd;
  entries->reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 12 + size_t(i) * 12;
    PackEntry entry{ReadLe32(e), ReadLe32(e + 4), nullptr, ReadLe32(e + 8)};
    if (entry.size > size - offset) {
      entries->clear();
      return Fail(error, "entry data runs past the end");
    }
    entry.bytes = data + offset;
    offset += entry.size;
    entries->push_back(entry);
  }
  return true;
}

std::vector<uint8_t> WritePack(const std::vector<PackEntry>& entries) {
  std::vector<uint8_t> out(kPackMagic, kPackMagic + sizeof kPackMagic);
  AppendLe32(&out, uint32_t(entries.size()));
  for (const PackEntry& e : entries) {
    AppendLe32(&out, e.id);
    AppendLe32(&out, e.type);
    AppendLe32(&out, e.size);
  }
  for (const PackEntry& e : entries) out.insert(out.end(), e.bytes, e.bytes + e.size);
  return out;
}

const PackEntry* FindPackEntry(const std::vector<PackEntry>& entries, uint32_t id, uint32_t type) {
  for (const PackEntry& e : entries)
    if (e.id == id && e.type == type) return &e;
  return nullptr;
}

}  // namespace platform
