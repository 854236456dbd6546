#include "solmar-book/tool_platform.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/platform.h"

namespace platform {
struct Resource {
  PackEntry entry;
};
}  // namespace platform

namespace tool {
namespace {

std::vector<platform::Resource>& Resources() {
  static std::vector<platform::Resource> resources;
  return resources;
}

}  // namespace

void UseResources(std::vector<platform::PackEntry> entries) {
  Resources().clear();
  for (const platform::PackEntry& entry : entries) Resources().push_back(platform::Resource{entry});
}

}  // namespace tool

namespace platform {

const Resource* FindResource(uint32_t id, uint32_t type) {
  for (const Resource& resource : tool::Resources())
    if (resource.entry.id == id && resource.entry.type == type) return &resource;
  return nullptr;
}

uint32_t ResourceSize(const Resource* resource) { return resource ? resource->entry.size : 0; }

const uint8_t* LoadResource(const Resource* resource) { return resource ? resource->entry.bytes : nullptr; }

void* Alloc(size_t bytes) { return std::malloc(bytes ? bytes : 1); }

void Free(void* block) { std::free(block); }

int MessageBox(Window*, const char16_t* text, const char16_t*, uint32_t type) {
  std::fputs("message: ", stderr);
  // The reader's own messages are ASCII; anything else is shown as '?'.
  for (const char16_t* c = text; c && *c; ++c) std::fputc(*c < 0x80 ? int(*c) : '?', stderr);
  std::fputc('\n', stderr);
  const uint32_t buttons = type & kMbButtonsMask;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdYes : kIdOk;
}

}  // namespace platform
