// Assistive technology on the fake: the documents a window was given are kept for tests.
#include <map>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

std::map<platform::Window*, const platform::AccessibleDocuments*>& Documents() {
  static std::map<platform::Window*, const platform::AccessibleDocuments*> documents;
  return documents;
}

}  // namespace

const platform::AccessibleDocuments* AccessibleDocumentsOf(platform::Window* window) {
  auto found = Documents().find(window);
  return found == Documents().end() ? nullptr : found->second;
}

void ResetAccessibility() { Documents().clear(); }

}  // namespace fake

namespace platform {

bool SetAccessibleDocuments(Window* window, const AccessibleDocuments* documents) {
  const fake::FakeWindowInfo* info = fake::WindowInfo(window);
  if (!info || info->destroyed || info->foreign || info->parent || !info->dc) return false;
  fake::Documents()[window] = documents;
  return true;
}

}  // namespace platform
