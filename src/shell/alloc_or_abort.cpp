#include "shell/alloc_or_abort.h"

#include "platform/platform.h"
#include "shell/settings.h"
#include "platform/ui_text.h"

void* AllocOrAbort(size_t size) {
  void* block = platform::Alloc(size);
  if (block) return block;
  platform::MessageBox(nullptr, SOLMAR_TEXT("MessageBox", "There is not enough memory, aborting"), SOLMAR_TEXT("MessageBox", "Error"),
                       platform::kMbOk | platform::kMbIconError);
  SaveSettingsAndQuit();
  return nullptr;
}
