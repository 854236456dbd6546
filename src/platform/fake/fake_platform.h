// Controls of the fake platform backend, for tests.
//
// The fake is deterministic: resources come from a pack or blocks a test installs, the
// heap counts and can fail chosen allocations, and message boxes are recorded and answered
// from a script. Call ResetAll() at the start of every test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

// Resets every area of the fake to its initial state.
void ResetAll();

// --- Resources -------------------------------------------------------------------------
void ResetResources();
// Makes the bytes of a pack (see platform/pack.h) the program's resources. False when the
// pack does not parse.
bool UsePack(std::vector<uint8_t> packBytes);
// Adds or replaces one resource.
void AddResource(uint32_t id, uint32_t type, std::vector<uint8_t> bytes);
// Makes LoadResource of that identifier fail (the resource is still found and sized).
void FailResourceLoad(uint32_t id);

// --- Heap ------------------------------------------------------------------------------
void ResetHeap();
// The nth allocation from now (1 = the next one) fails; 0 cancels.
void FailAllocation(int nth);
// Every allocation from the nth one on fails; 0 cancels.
void FailAllocationsFrom(int nth);
int AllocationsMade();     // since the last reset, failed ones included
int LiveBlocks();          // allocated and not yet freed
size_t LiveBytes();

// --- Message boxes ---------------------------------------------------------------------
struct RecordedMessageBox {
  platform::Window* owner;
  std::u16string text;
  bool hasCaption;         // false: the platform's default caption was asked for
  std::u16string caption;
  uint32_t buttons;        // type & kMbButtonsMask
  uint32_t icon;           // type & kMbIconMask
};
void ResetMessageBoxes();
const std::vector<RecordedMessageBox>& MessageBoxes();
// Answers given to the next message boxes, in order. When the script runs out a box is
// answered with its first button (OK, or Yes).
void ScriptMessageBoxAnswers(std::vector<int> answers);

}  // namespace fake
