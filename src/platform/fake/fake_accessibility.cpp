// Assistive technology on the fake: the documents a window was given are kept for tests.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

std::map<platform::Window*, const platform::AccessibleDocuments*>& Documents() {
  static std::map<platform::Window*, const platform::AccessibleDocuments*> documents;
  return documents;
}

std::map<platform::Window*, std::u16string>& Names() {
  static std::map<platform::Window*, std::u16string> names;
  return names;
}

std::vector<std::pair<platform::Window*, int>>& SelectionNotices() {
  static std::vector<std::pair<platform::Window*, int>> notices;
  return notices;
}

}  // namespace

std::u16string AccessibleNameOf(platform::Window* window) {
  auto found = Names().find(window);
  return found == Names().end() ? std::u16string() : found->second;
}

const platform::AccessibleDocuments* AccessibleDocumentsOf(platform::Window* window) {
  auto found = Documents().find(window);
  return found == Documents().end() ? nullptr : found->second;
}

const std::vector<std::pair<platform::Window*, int>>& AccessibleSelectionNotices() { return SelectionNotices(); }

void ResetAccessibility() {
  Documents().clear();
  Names().clear();
  SelectionNotices().clear();
}

}  // namespace fake

namespace platform {

bool SetAccessibleDocuments(Window* window, const AccessibleDocuments* documents) {
  const fake::FakeWindowInfo* info = fake::WindowInfo(window);
  if (!info || info->destroyed || info->foreign || info->parent || !info->dc) return false;
  fake::Documents()[window] = documents;
  return true;
}

bool NotifyAccessibleSelection(Window* window, int index) {
  const AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window);
  const fake::FakeWindowInfo* info = fake::WindowInfo(window);
  if (!documents || !documents->count || !info || info->destroyed || index < 0 || index >= documents->count(window))
    return false;
  fake::SelectionNotices().emplace_back(window, index);
  return true;
}

bool SetAccessibleName(Window* window, const char16_t* name) {
  const fake::FakeWindowInfo* info = fake::WindowInfo(window);
  if (!info || info->destroyed || !name) return false;
  fake::Names()[window] = name;
  return true;
}

}  // namespace platform
