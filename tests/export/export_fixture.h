// Shared helpers of the export tests: streams written by hand, the export's results as
// strings, and a fixture that proves nothing leaks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "export/export.h"
#include "platform/fake/fake_platform.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"

namespace export_test {

struct Record {
  uint8_t flags;
  uint8_t param;
  std::string text;  // letter code
};

// A ParagraphStream of the records, ended by a 0 flags byte.
inline std::vector<uint8_t> Stream(const std::vector<Record>& records) {
  std::vector<uint8_t> s;
  for (const Record& r : records) {
    s.push_back(r.flags);
    s.push_back(r.param);
    s.insert(s.end(), r.text.begin(), r.text.end());
    s.push_back(0);
  }
  s.push_back(0);
  return s;
}

inline std::u16string ExportText(const std::vector<uint8_t>& stream, int32_t base, bool reverse) {
  char16_t* text = ExportArticleText(stream.data(), stream.data() + stream.size(), base, reverse);
  if (!text) return u"<none>";
  std::u16string out(text);
  platform::Free(text);
  return out;
}

inline std::string RtfBody(const std::u16string& text) {
  uint8_t* body = MakeRtfBody(text.c_str());
  if (!body) return "<none>";
  std::string out(reinterpret_cast<const char*>(body));
  platform::Free(body);
  return out;
}

// The text an RTF reader takes from a body: \uN is unit N and eats one space after it, a
// backslash and a character is that character, a line end is one '\n'.
inline std::u16string ReadRtfBody(const std::string& rtf) {
  std::u16string out;
  auto digit = [&](size_t i) { return i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9'; };
  size_t i = 0;
  while (i < rtf.size()) {
    if (rtf.compare(i, 10, "\\par\\par\r\n") == 0) {
      out.push_back(u'\n');
      i += 10;
    } else if (rtf[i] == '\\' && i + 1 < rtf.size() && rtf[i + 1] == 'u' && digit(i + 2)) {
      uint32_t value = 0;
      for (i += 2; digit(i); ++i) value = value * 10 + uint32_t(rtf[i] - '0');
      out.push_back(char16_t(value));
      if (i < rtf.size() && rtf[i] == ' ') ++i;
    } else if (rtf[i] == '\\' && i + 1 < rtf.size()) {
      out.push_back(char16_t(uint8_t(rtf[i + 1])));
      i += 2;
    } else {
      out.push_back(char16_t(uint8_t(rtf[i++])));
    }
  }
  return out;
}

// The text as that reading gives it back: runs of CR and LF are one '\n', and the body
// ends with one more.
inline std::u16string AsReadBack(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    auto lineBreak = [&](size_t k) { return text[k] == u'\r' || text[k] == u'\n'; };
    if (!lineBreak(i))
      out.push_back(text[i]);
    else if (i == 0 || !lineBreak(i - 1))
      out.push_back(u'\n');
  }
  out.push_back(u'\n');
  return out;
}

inline std::string Bytes(const std::vector<uint8_t>* data) {
  return data ? std::string(data->begin(), data->end()) : std::string("<none>");
}

inline std::string Str(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

inline std::vector<uint8_t> Utf16Bytes(const std::u16string& text, bool withZero) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(uint8_t(c & 0xFF));
    bytes.push_back(uint8_t(c >> 8));
  }
  if (withZero) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    ResetShellState();
    ResetReaderSettings();
    ResetConversionBuffer();
  }
  void TearDown() override {
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0);
    EXPECT_EQ(fake::LiveClipboardBlocks(), 0);
    EXPECT_FALSE(fake::ClipboardIsOpen());
  }
  static uint32_t RtfFormat() { return platform::RegisterClipboardFormat(kRtfFormatName); }
};

constexpr char16_t kAlef = 0x05D0, kBet = 0x05D1;
constexpr char kHeader[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset177\\cpg1255 David;}}{\\colortbl\\red0\\green0\\blue0;"
    "\\red255\\green255\\blue255;\\red255\\green0\\blue0;}\\rtldoc\\pard\\rtlpar\\qr\\lang1033\\f0\\fs20\\uc0\r\n";
constexpr char kSeparator[] = "\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n";

}  // namespace export_test
