// The append path of the export on arbitrary earlier clipboard data and arbitrary article
// bytes. Input: two bytes giving the length of the earlier data, that data (put on the
// fake clipboard as both the RTF and the Unicode text, with or without a terminator), one
// byte choosing the letter base and direction, then the article's stream. The article is
// written as text, appended as an RTF document with the text beside it, and read back:
// nothing may be read or written outside its block (the sanitizers watch), the document
// must be the earlier one trimmed, the separator, a body and the closing, and no block may
// be left behind.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "export/export.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > 70000) return 0;
  const size_t previousLength = size_t(data[0] | data[1] << 8);
  if (size < 3 + previousLength) return 0;
  fake::ResetAll();
  ResetShellState();
  ResetReaderSettings();
  const std::vector<uint8_t> previous(data + 2, data + 2 + previousLength);
  const uint8_t choice = data[2 + previousLength];
  // The stream in a block of its own size, so a read past it is caught.
  const std::vector<uint8_t> stream(data + 3 + previousLength, data + size);
  const uint32_t rtfFormat = platform::RegisterClipboardFormat(kRtfFormatName);
  fake::PutClipboardContent(rtfFormat, previous);
  fake::PutClipboardContent(platform::kClipboardUnicodeText, previous);

  const int32_t bases[] = {97, 224, 1488, 1488};
  const int32_t base = bases[choice & 3];
  char16_t* text = ExportArticleText(stream.data(), stream.data() + stream.size(), base, (choice & 4) != 0);
  Require(text != nullptr);
  PutRtfOnClipboard(text, true);

  const std::vector<uint8_t>* rtf = fake::ClipboardContent(rtfFormat);
  Require(rtf != nullptr && rtf->size() >= 5);
  const std::string document(rtf->begin(), rtf->end());
  Require(document.compare(document.size() - 4, 4, std::string("}\r\n", 3) + '\0') == 0);
  // The earlier data up to its first 0, less its trailing blanks and one '}', comes first.
  size_t kept = 0;
  while (kept < previous.size() && previous[kept] != 0) ++kept;
  const bool hadData = kept > 0;
  while (kept > 0 && std::strchr("\r\n \t", previous[kept - 1]) && previous[kept - 1] != 0) --kept;
  if (kept > 0 && previous[kept - 1] == '}') --kept;
  if (hadData) {
    Require(std::memcmp(rtf->data(), previous.data(), kept) == 0);
    Require(document.compare(kept, 11, "\\pard\\plain") == 0);
  } else {
    Require(document.compare(0, 6, "{\\rtf1") == 0);
  }
  uint32_t readSize = 0;
  uint8_t* readBack = ReadClipboardData(platform::kClipboardUnicodeText, &readSize);
  platform::Free(readBack);
  platform::Free(text);
  ResetConversionBuffer();
  Require(fake::LiveBlocks() == 0);
  Require(fake::LiveClipboardBlocks() == 0);
  return 0;
}
