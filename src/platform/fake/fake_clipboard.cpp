// Clipboard of the fake backend: content by format in memory, every call logged, and
// opening or a block refused when a test asks.
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

struct ClipboardState {
  std::map<uint32_t, std::vector<uint8_t>> content;
  std::vector<ClipboardCall> calls;
  std::set<void*> blocks;
  bool open = false;
  bool emptied = false;  // since the last opening
  bool failOpen = false;
  int blocksAsked = 0;
  int failBlock = 0;     // absolute number of the block refused, 0 = none
};

ClipboardState& State() {
  static ClipboardState state;
  return state;
}

void Log(ClipboardStep step, uint32_t format = 0, size_t bytes = 0) {
  State().calls.push_back(ClipboardCall{step, format, bytes});
}

}  // namespace

void ResetClipboard() {
  for (void* block : State().blocks) std::free(block);
  State() = ClipboardState{};
}

const std::vector<ClipboardCall>& ClipboardCalls() { return State().calls; }
void TrimClipboard() { State().calls.clear(); }

std::vector<ClipboardStep> ClipboardSteps() {
  std::vector<ClipboardStep> steps;
  for (const ClipboardCall& call : State().calls) steps.push_back(call.step);
  return steps;
}

const std::vector<uint8_t>* ClipboardContent(uint32_t format) {
  auto it = State().content.find(format);
  return it == State().content.end() ? nullptr : &it->second;
}

void PutClipboardContent(uint32_t format, std::vector<uint8_t> bytes) {
  bytes.shrink_to_fit();
  State().content[format] = std::move(bytes);
}
void FailClipboardOpen(bool fail) { State().failOpen = fail; }
void FailClipboardBlock(int nth) { State().failBlock = nth > 0 ? State().blocksAsked + nth : 0; }
bool ClipboardIsOpen() { return State().open; }
int LiveClipboardBlocks() { return int(State().blocks.size()); }

}  // namespace fake

namespace platform {

bool OpenClipboard() {
  fake::ClipboardState& s = fake::State();
  // A second opening while open is refused, as another holder's would be.
  if (s.failOpen || s.open) {
    fake::Log(fake::ClipboardStep::kOpenRefused);
    return false;
  }
  s.open = true;
  s.emptied = false;
  fake::Log(fake::ClipboardStep::kOpen);
  return true;
}

bool EmptyClipboard() {
  fake::ClipboardState& s = fake::State();
  fake::Log(fake::ClipboardStep::kEmpty);
  if (!s.open) return false;
  s.content.clear();
  s.emptied = true;
  return true;
}

const uint8_t* GetClipboardData(uint32_t format, size_t* size) {
  fake::ClipboardState& s = fake::State();
  fake::Log(fake::ClipboardStep::kRead, format);
  *size = 0;
  if (!s.open) return nullptr;
  auto it = s.content.find(format);
  if (it == s.content.end()) return nullptr;
  *size = it->second.size();
  // Held in a block of its exact size, so a read past the data is caught by the sanitizers.
  return it->second.empty() ? nullptr : it->second.data();
}

void* AllocClipboardBlock(size_t bytes) {
  fake::ClipboardState& s = fake::State();
  if (++s.blocksAsked == s.failBlock) {
    fake::Log(fake::ClipboardStep::kAllocRefused, 0, bytes);
    return nullptr;
  }
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) return nullptr;
  s.blocks.insert(block);
  fake::Log(fake::ClipboardStep::kAlloc, 0, bytes);
  return block;
}

void FreeClipboardBlock(void* block) {
  if (!block) return;
  fake::ClipboardState& s = fake::State();
  if (!s.blocks.erase(block)) std::abort();  // not a live block: a test must see it
  std::free(block);
  fake::Log(fake::ClipboardStep::kFree);
}

bool SetClipboardData(uint32_t format, void* block, size_t bytes) {
  fake::ClipboardState& s = fake::State();
  fake::Log(fake::ClipboardStep::kSet, format, bytes);
  if (!block || !s.blocks.erase(block)) std::abort();
  const bool taken = s.open && s.emptied;
  if (taken) {
    const auto* data = static_cast<const uint8_t*>(block);
    s.content[format] = std::vector<uint8_t>(data, data + bytes);
  }
  std::free(block);
  return taken;
}

void CloseClipboard() {
  fake::State().open = false;
  fake::Log(fake::ClipboardStep::kClose);
}

}  // namespace platform
