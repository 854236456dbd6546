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

// The text a strict RTF reader takes from a whole document. Each group keeps its own \ucN
// (1 where no group says otherwise, as RTF has it), and after \uN that many fallback
// characters are dropped, a control word or \'xx counting as one. Font, colour and style
// tables and \* groups hold no text; \par is '\n'; \'xx is the byte xx; a space ends a
// control word and is not text; CR and LF of the file are not text. Braces that do not
// pair fail the test.
inline std::u16string ReadRtf(const std::string& rtf) {
  struct Group {
    int fallback = 1;
    bool skipped = false;
  };
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::vector<Group> outer;
  Group group;
  std::u16string out;
  int fallbackLeft = 0;
  auto text = [&](char16_t c) {
    if (fallbackLeft > 0)
      --fallbackLeft;
    else if (!group.skipped)
      out.push_back(c);
  };
  size_t i = 0;
  while (i < rtf.size() && rtf[i] != 0) {
    const char c = rtf[i++];
    if (c == '{') {
      outer.push_back(group);
      fallbackLeft = 0;
    } else if (c == '}') {
      if (outer.empty()) {
        ADD_FAILURE() << "a '}' closes no group at byte " << i - 1;
        return out;
      }
      group = outer.back();
      outer.pop_back();
      fallbackLeft = 0;
    } else if (c == '\r' || c == '\n') {
    } else if (c != '\\') {
      text(char16_t(uint8_t(c)));
    } else if (i < rtf.size() && letter(rtf[i])) {
      std::string word;
      while (i < rtf.size() && letter(rtf[i])) word += rtf[i++];
      const bool negative = i < rtf.size() && rtf[i] == '-';
      if (negative) ++i;
      long value = 0;
      while (i < rtf.size() && digit(rtf[i])) value = value * 10 + (rtf[i++] - '0');
      if (negative) value = -value;
      if (i < rtf.size() && rtf[i] == ' ') ++i;
      if (fallbackLeft > 0) {
        --fallbackLeft;
      } else if (word == "u") {
        text(char16_t(value < 0 ? value + 65536 : value));
        fallbackLeft = group.fallback;
      } else if (word == "uc") {
        group.fallback = int(value);
      } else if (word == "par") {
        text(u'\n');
      } else if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info") {
        group.skipped = true;
      }
    } else if (i < rtf.size() && rtf[i] == '\'') {
      const int value = std::stoi(rtf.substr(i + 1, 2), nullptr, 16);
      i += 3;
      text(char16_t(value));
    } else if (i < rtf.size() && rtf[i] == '*') {
      ++i;
      group.skipped = true;
    } else if (i < rtf.size()) {
      text(char16_t(uint8_t(rtf[i++])));
    }
  }
  if (!outer.empty()) ADD_FAILURE() << outer.size() << " groups left open";
  return out;
}

// The text as that reader gives back a document of it: each run of CR and LF is a line end
// of two paragraph ends, and the body ends with one more.
inline std::u16string AsReadBack(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    auto lineBreak = [&](size_t k) { return text[k] == u'\r' || text[k] == u'\n'; };
    if (!lineBreak(i))
      out.push_back(text[i]);
    else if (i == 0 || !lineBreak(i - 1))
      out += u"\n\n";
  }
  out += u"\n\n";
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
constexpr char kSeparator[] = "\\pard\\plain\\rtlpar\\uc0\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n";

}  // namespace export_test
