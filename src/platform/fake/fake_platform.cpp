#include "platform/fake/fake_platform.h"

namespace fake {

void ResetAll() {
  ResetResources();
  ResetHeap();
  ResetMessageBoxes();
}

}  // namespace fake
