// Resources of the fake backend: a pack or single blocks installed by the test.
#include <map>
#include <set>
#include <utility>

#include "platform/fake/fake_platform.h"
#include "platform/pack.h"

namespace platform {
struct Resource {
  uint32_t id;
  uint32_t type;
  std::vector<uint8_t> bytes;
};
}  // namespace platform

namespace fake {
namespace {

std::map<std::pair<uint32_t, uint32_t>, platform::Resource>& Resources() {
  static std::map<std::pair<uint32_t, uint32_t>, platform::Resource> resources;
  return resources;
}

std::set<uint32_t>& FailingLoads() {
  static std::set<uint32_t> ids;
  return ids;
}

}  // namespace

void ResetResources() {
  Resources().clear();
  FailingLoads().clear();
}

bool UsePack(std::vector<uint8_t> packBytes) {
  std::vector<platform::PackEntry> entries;
  if (!platform::ParsePack(packBytes.data(), packBytes.size(), &entries, nullptr)) return false;
  for (const platform::PackEntry& e : entries)
    AddResource(e.id, e.type, std::vector<uint8_t>(e.bytes, e.bytes + e.size));
  return true;
}

void AddResource(uint32_t id, uint32_t type, std::vector<uint8_t> bytes) {
  Resources()[{id, type}] = platform::Resource{id, type, std::move(bytes)};
}

void FailResourceLoad(uint32_t id) { FailingLoads().insert(id); }

}  // namespace fake

namespace platform {

const Resource* FindResource(uint32_t id, uint32_t type) {
  auto& resources = fake::Resources();
  auto it = resources.find({id, type});
  return it == resources.end() ? nullptr : &it->second;
}

uint32_t ResourceSize(const Resource* resource) {
  return resource ? uint32_t(resource->bytes.size()) : 0;
}

const uint8_t* LoadResource(const Resource* resource) {
  if (!resource || fake::FailingLoads().count(resource->id)) return nullptr;
  // An empty vector may have no storage; a loaded resource always has an address.
  static const uint8_t kEmpty = 0;
  return resource->bytes.empty() ? &kEmpty : resource->bytes.data();
}

}  // namespace platform
