#include "shell/alloc_or_abort.h"

#include "platform/platform.h"
#include "shell/settings.h"

void* AllocOrAbort(size_t size) {
  void* block = platform::Alloc(size);
  if (block) return block;
  platform::MessageBox(nullptr, u"There is not enough memory, aborting", u"Error",
                       platform::kMbOk | platform::kMbIconError);
  SaveSettingsAndQuit();
  return nullptr;
}
