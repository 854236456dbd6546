// Heap of the fake backend: counts blocks so tests can prove nothing leaks, and fails the
// allocations a test picks.
#include <cstdlib>
#include <unordered_map>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

struct HeapState {
  int made = 0;
  int failNth = 0;       // absolute allocation number that fails, 0 = none
  int failFrom = 0;      // absolute allocation number from which all fail, 0 = none
  std::unordered_map<void*, size_t> live;
  size_t liveBytes = 0;
};

HeapState& Heap() {
  static HeapState state;
  return state;
}

}  // namespace

void ResetHeap() {
  HeapState& h = Heap();
  // Blocks still live from an earlier test are freed so one test's leak does not
  // change the next test's counts.
  for (auto& [block, size] : h.live) std::free(block);
  h = HeapState{};
}

void FailAllocation(int nth) { Heap().failNth = nth > 0 ? Heap().made + nth : 0; }
void FailAllocationsFrom(int nth) { Heap().failFrom = nth > 0 ? Heap().made + nth : 0; }
int AllocationsMade() { return Heap().made; }
int LiveBlocks() { return int(Heap().live.size()); }
size_t LiveBytes() { return Heap().liveBytes; }

}  // namespace fake

namespace platform {

void* Alloc(size_t bytes) {
  fake::HeapState& h = fake::Heap();
  const int number = ++h.made;
  if (number == h.failNth || (h.failFrom && number >= h.failFrom)) return nullptr;
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) return nullptr;
  h.live[block] = bytes;
  h.liveBytes += bytes;
  return block;
}

void Free(void* block) {
  if (!block) return;
  fake::HeapState& h = fake::Heap();
  auto it = h.live.find(block);
  if (it == h.live.end()) std::abort();  // double free or foreign block: a test must see it
  h.liveBytes -= it->second;
  h.live.erase(it);
  std::free(block);
}

}  // namespace platform
