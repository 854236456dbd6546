// Settings store of the fake backend: an in-memory registry with a write log and injected
// failures; also the program path and the quit request, which the settings tests observe.
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "platform/fake/fake_platform.h"

namespace platform {
struct SettingsKey {
  std::u16string path;  // normalised
};
}  // namespace platform

namespace fake {
namespace {

using Values = std::map<std::u16string, StoredSetting>;

struct SettingsState {
  std::map<std::u16string, Values> keys;
  std::vector<SettingWrite> writes;
  std::set<std::u16string> failingKeys;
  std::set<std::u16string> failingReads;
  std::set<std::u16string> failingWrites;
  int openKeys = 0;
  int batchesBegun = 0;
  int batchesEnded = 0;
  bool batchOpen = false;
  std::u16string programPath = u"/usr/bin/solmar";
  std::vector<int> quitRequests;
};

SettingsState& State() {
  static SettingsState state;
  return state;
}

// The leading "Software" matches in any case; the rest of the path is exact.
std::u16string NormalisedPath(const std::u16string& path) {
  constexpr std::u16string_view kRoot = u"software";
  std::u16string result = path;
  if (result.size() < kRoot.size()) return result;
  if (result.size() > kRoot.size() && result[kRoot.size()] != u'\\') return result;
  for (size_t i = 0; i < kRoot.size(); ++i) {
    const char16_t c = result[i];
    const char16_t lower = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    if (lower != kRoot[i]) return result;
  }
  result.replace(0, kRoot.size(), u"Software");
  return result;
}

}  // namespace

void ResetSettings() { State() = SettingsState{}; }

void PutSetting(const std::u16string& key, const std::u16string& name, uint32_t type, std::vector<uint8_t> data) {
  State().keys[NormalisedPath(key)][name] = StoredSetting{type, std::move(data)};
}

void PutNumberSetting(const std::u16string& key, const std::u16string& name, uint32_t value) {
  std::vector<uint8_t> data(4);
  std::memcpy(data.data(), &value, 4);
  PutSetting(key, name, platform::kSettingNumber, std::move(data));
}

void PutStringSetting(const std::u16string& key, const std::u16string& name, const std::u16string& text) {
  std::vector<uint8_t> data((text.size() + 1) * 2, 0);
  std::memcpy(data.data(), text.data(), text.size() * 2);
  PutSetting(key, name, platform::kSettingString, std::move(data));
}

void PutBytesSetting(const std::u16string& key, const std::u16string& name, std::vector<uint8_t> bytes) {
  PutSetting(key, name, platform::kSettingBinary, std::move(bytes));
}

void PutSettingsKey(const std::u16string& key) { State().keys[NormalisedPath(key)]; }

bool HasSettingsKey(const std::u16string& key) { return State().keys.count(NormalisedPath(key)) != 0; }

const StoredSetting* FindSetting(const std::u16string& key, const std::u16string& name) {
  auto k = State().keys.find(NormalisedPath(key));
  if (k == State().keys.end()) return nullptr;
  auto v = k->second.find(name);
  return v == k->second.end() ? nullptr : &v->second;
}

const std::vector<SettingWrite>& SettingWrites() { return State().writes; }
void FailSettingsKeyOpen(const std::u16string& key) { State().failingKeys.insert(NormalisedPath(key)); }
void FailSettingRead(const std::u16string& name) { State().failingReads.insert(name); }
void FailSettingWrite(const std::u16string& name) { State().failingWrites.insert(name); }
int OpenSettingsKeys() { return State().openKeys; }
int SettingsBatchesBegun() { return State().batchesBegun; }
int SettingsBatchesEnded() { return State().batchesEnded; }
void SetProgramPath(const std::u16string& path) { State().programPath = path; }
const std::vector<int>& QuitRequests() { return State().quitRequests; }

}  // namespace fake

namespace platform {

SettingsKey* OpenSettingsKey(const char16_t* path, bool create) {
  if (!path) return nullptr;
  fake::SettingsState& s = fake::State();
  const std::u16string normalised = fake::NormalisedPath(path);
  if (s.failingKeys.count(normalised)) return nullptr;
  if (!s.keys.count(normalised)) {
    if (!create) return nullptr;
    s.keys[normalised];
  }
  ++s.openKeys;
  return new SettingsKey{normalised};
}

void CloseSettingsKey(SettingsKey* key) {
  if (!key) return;
  --fake::State().openKeys;
  delete key;
}

bool ReadSetting(SettingsKey* key, const char16_t* name, uint32_t* type, void* data, uint32_t* size) {
  if (!key || !name || !size) return false;
  const fake::StoredSetting* value = fake::FindSetting(key->path, name);
  if (!value) return false;
  const uint32_t capacity = *size;
  *size = uint32_t(value->data.size());
  if (type) *type = value->type;
  if (!data) return true;
  if (fake::State().failingReads.count(name) || value->data.size() > capacity) return false;
  if (!value->data.empty()) std::memcpy(data, value->data.data(), value->data.size());
  return true;
}

bool WriteSetting(SettingsKey* key, const char16_t* name, uint32_t type, const void* data, uint32_t size) {
  if (!key || !name || (!data && size)) return false;
  fake::SettingsState& s = fake::State();
  if (s.failingWrites.count(name)) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  fake::StoredSetting value{type, std::vector<uint8_t>(bytes, bytes + size)};
  s.keys[key->path][name] = value;
  s.writes.push_back({key->path, name, std::move(value), s.batchOpen ? s.batchesBegun : 0});
  return true;
}

void BeginSettingsBatch() {
  fake::SettingsState& s = fake::State();
  if (s.batchOpen) return;
  s.batchOpen = true;
  ++s.batchesBegun;
}

bool EndSettingsBatch() {
  fake::SettingsState& s = fake::State();
  if (!s.batchOpen) return true;
  s.batchOpen = false;
  ++s.batchesEnded;
  return true;
}

uint32_t GetProgramPath(char16_t* buffer, uint32_t capacity) {
  const std::u16string& path = fake::State().programPath;
  if (!buffer || path.empty() || path.size() + 1 > capacity) return 0;
  std::memcpy(buffer, path.data(), path.size() * 2);
  buffer[path.size()] = 0;
  return uint32_t(path.size());
}

void PostQuitMessage(int exitCode) { fake::State().quitRequests.push_back(exitCode); }

}  // namespace platform
