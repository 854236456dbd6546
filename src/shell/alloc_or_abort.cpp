#include "shell/alloc_or_abort.h"

#include "platform/platform.h"
#include "platform/ui_text.h"

namespace {
OutOfMemoryHandler gOutOfMemoryHandler = nullptr;
}  // namespace

OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler) {
  const OutOfMemoryHandler previous = gOutOfMemoryHandler;
  gOutOfMemoryHandler = handler;
  return previous;
}

void* AllocOrAbort(size_t size) {
  void* block = platform::Alloc(size);
  if (block) return block;
  platform::MessageBox(nullptr, SOLMAR_TEXT("MessageBox", "There is not enough memory, aborting"), SOLMAR_TEXT("MessageBox", "Error"),
                       platform::kMbOk | platform::kMbIconError);
  if (gOutOfMemoryHandler) gOutOfMemoryHandler();
  return nullptr;
}
