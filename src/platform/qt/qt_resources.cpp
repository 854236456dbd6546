// Resources of the Qt backend: entries of the pack the program carries.
#include <vector>

#include "platform/pack.h"
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"

namespace platform {
struct Resource {
  PackEntry entry;
};
}  // namespace platform

namespace {

std::vector<platform::Resource>& Resources() {
  static std::vector<platform::Resource> resources;
  return resources;
}

}  // namespace

namespace platform::qt {

bool UsePack(const uint8_t* bytes, size_t size) {
  std::vector<PackEntry> entries;
  if (!ParsePack(bytes, size, &entries, nullptr)) return false;
  auto& resources = Resources();
  resources.clear();
  for (const PackEntry& e : entries) resources.push_back(Resource{e});
  return true;
}

}  // namespace platform::qt

namespace platform {

const Resource* FindResource(uint32_t id, uint32_t type) {
  for (const Resource& r : Resources())
    if (r.entry.id == id && r.entry.type == type) return &r;
  return nullptr;
}

uint32_t ResourceSize(const Resource* resource) { return resource ? resource->entry.size : 0; }

const uint8_t* LoadResource(const Resource* resource) { return resource ? resource->entry.bytes : nullptr; }

}  // namespace platform
