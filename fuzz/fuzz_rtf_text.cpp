// The reader of other programs' RTF on arbitrary bytes, and on the documents the export
// writes. Input: the bytes, read as an RTF document; then the same bytes as UTF-16 units
// (up to the first 0 unit), written as a document by the export and read back. Nothing may
// be read or written outside its block (the sanitizers watch), the text may not be longer
// than the document, the export's document must read back as the text it was made of, and
// no block may be left behind.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/export.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// What a document of text reads back as: presentation forms decomposed, every run of CR
// and LF two paragraph ends, and two more at the end.
std::u16string AsReadBack(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (i == 0 || (text[i - 1] != u'\r' && text[i - 1] != u'\n')) out += u"\r\n\r\n";
    } else if (const char16_t* form = FindPresentationForm(c)) {
      for (int k = 1; k < 4 && form[k]; ++k) out.push_back(form[k]);
    } else {
      out.push_back(c);
    }
  }
  return out + u"\r\n\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 100000) return 0;
  fake::ResetAll();
  // The bytes in a block of their own size, so a read past them is caught.
  std::string rtf(reinterpret_cast<const char*>(data), size);
  size_t units = 0;
  char16_t* text = RtfToText(reinterpret_cast<const uint8_t*>(rtf.data()), rtf.size(), &units);
  Require(text != nullptr && units <= size && text[units] == 0);
  platform::Free(text);

  std::u16string written;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t c = char16_t(data[i] | data[i + 1] << 8);
    if (c == 0) break;
    written.push_back(c);
  }
  size_t length = 0;
  uint8_t* document = MakeRtfDocument(written.c_str(), &length);
  Require(document != nullptr);
  char16_t* read = RtfToText(document, length, &units);
  Require(read != nullptr);
  Require(std::u16string(read, units) == AsReadBack(written));
  platform::Free(read);
  platform::Free(document);
  Require(fake::LiveBlocks() == 0);
  return 0;
}
