// The text of an RTF document, for appending to what another program left on the clipboard
// as RTF only: enough of RTF to get its characters and paragraphs back, not its layout.
#include <cstring>
#include <vector>

#include "export/export.h"
#include "platform/platform.h"

namespace {

// The upper halves of the two code pages Hebrew documents come in; U+FFFD where a code
// page has no character.
constexpr char16_t kWindows1252[128] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};
constexpr char16_t kWindows1255[128] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0xFFFD, 0x2039, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0xFFFD, 0x203A, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AA, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00D7, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00F7, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x05B0,
    0x05B1, 0x05B2, 0x05B3, 0x05B4, 0x05B5, 0x05B6, 0x05B7, 0x05B8, 0x05B9, 0xFFFD, 0x05BB, 0x05BC, 0x05BD,
    0x05BE, 0x05BF, 0x05C0, 0x05C1, 0x05C2, 0x05C3, 0x05F0, 0x05F1, 0x05F2, 0x05F3, 0x05F4, 0xFFFD, 0xFFFD,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7,
    0x05D8, 0x05D9, 0x05DA, 0x05DB, 0x05DC, 0x05DD, 0x05DE, 0x05DF, 0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4,
    0x05E5, 0x05E6, 0x05E7, 0x05E8, 0x05E9, 0x05EA, 0xFFFD, 0xFFFD, 0x200E, 0x200F, 0xFFFD,
};

constexpr int32_t kCodePageLatin = 1252;
constexpr int32_t kCodePageHebrew = 1255;
// The font character sets that name those code pages.
constexpr int32_t kCharsetAnsi = 0;
constexpr int32_t kCharsetHebrew = 177;
// A font that the font table does not describe.
constexpr int32_t kNoCodePage = -1;
// The default number of fallback characters after a \u escape.
constexpr int32_t kDefaultFallback = 1;

// Groups whose content is not text: tables, pictures, metadata, headers and notes. A group
// marked with \* is skipped as well, whatever its first word.
constexpr const char* kSkippedDestinations[] = {
    "annotation", "colortbl", "colorschememapping", "datastore", "filetbl", "footer", "footerf",
    "footerl", "footerr", "footnote", "generator", "header", "headerf", "headerl", "headerr",
    "info", "latentstyles", "listoverridetable", "listtable", "nonshppict", "object", "pgdsctbl",
    "pict", "revtbl", "rsidtbl", "stylesheet", "themedata", "xmlnstbl",
};

struct Word {
  const char* name;
  const char16_t* text;
};
// Control words that stand for text.
constexpr Word kTextWords[] = {
    {"par", u"\r\n"},     {"line", u"\r\n"},      {"sect", u"\r\n"},      {"page", u"\r\n"},
    {"row", u"\r\n"},     {"tab", u"\t"},         {"cell", u"\t"},        {"emdash", u"\u2014"},
    {"endash", u"\u2013"}, {"lquote", u"\u2018"}, {"rquote", u"\u2019"},  {"ldblquote", u"\u201C"},
    {"rdblquote", u"\u201D"}, {"bullet", u"\u2022"}, {"emspace", u" "}, {"enspace", u" "},
};

struct GroupState {
  int32_t fallback;     // characters to drop after each \u
  int32_t font;         // the font selected, or the one being described in the font table
  bool skipped;         // the group's text is not wanted
  bool fontTable;       // inside the font table: \f and \fcharset describe fonts
};

struct FontCodePage {
  int32_t font;
  int32_t codePage;
};

class Reader {
 public:
  Reader(const uint8_t* rtf, size_t size, char16_t* out, size_t capacity)
      : p_(rtf), end_(rtf + size), out_(out), capacity_(capacity) {}

  size_t Run() {
    while (p_ < end_ && *p_ != 0) {
      const uint8_t b = *p_++;
      if (b == '{') {
        fallbackLeft_ = 0;
        if (groups_.size() < kMaxDepth)
          groups_.push_back(state_);
        else
          ++unkeptGroups_;
      } else if (b == '}') {
        fallbackLeft_ = 0;
        if (unkeptGroups_ > 0) {
          --unkeptGroups_;
        } else if (!groups_.empty()) {
          state_ = groups_.back();
          groups_.pop_back();
        }
      } else if (b == '\\') {
        ControlSequence();
      } else if (b == '\r' || b == '\n') {
        // Line ends of the file are not text.
      } else if (b == '\t') {
        Character(u'\t');
      } else if (b >= 0x20) {
        Character(Decode(b));
      }
    }
    return n_;
  }

 private:
  static bool IsLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
  static int HexValue(uint8_t c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void ControlSequence() {
    if (p_ >= end_ || *p_ == 0) return;
    const uint8_t c = *p_;
    if (!IsLetter(c)) {
      ++p_;
      ControlSymbol(c);
      return;
    }
    char name[33];
    size_t length = 0;
    while (p_ < end_ && IsLetter(*p_)) {
      if (length < sizeof name - 1) name[length++] = char(*p_);
      ++p_;
    }
    name[length] = 0;
    bool negative = false, hasValue = false;
    int64_t value = 0;
    if (p_ < end_ && *p_ == '-') {
      negative = true;
      ++p_;
    }
    while (p_ < end_ && IsDigit(*p_)) {
      hasValue = true;
      if (value < 100000000000) value = value * 10 + (*p_ - '0');
      ++p_;
    }
    if (negative) value = -value;
    if (p_ < end_ && *p_ == ' ') ++p_;
    ControlWord(name, hasValue, value);
  }

  void ControlSymbol(uint8_t c) {
    switch (c) {
      case '\'': {
        int hex = -1;
        if (end_ - p_ >= 2 && HexValue(p_[0]) >= 0 && HexValue(p_[1]) >= 0) {
          hex = HexValue(p_[0]) * 16 + HexValue(p_[1]);
          p_ += 2;
        }
        if (hex >= 0) Character(Decode(uint8_t(hex)));
        return;
      }
      case '\\':
      case '{':
      case '}': Character(char16_t(c)); return;
      case '~': Character(u'\u00A0'); return;
      case '_': Character(u'\u2011'); return;
      case '*': state_.skipped = true; return;
      case '\r':
      case '\n': Text(u"\r\n"); return;
      default: Character(0); return;  // an optional hyphen and the like: counted, not shown
    }
  }

  void ControlWord(const char* name, bool hasValue, int64_t value) {
    if (std::strcmp(name, "bin") == 0) {
      // Binary data of the given length follows.
      const int64_t skip = hasValue && value > 0 ? value : 0;
      p_ += skip < end_ - p_ ? skip : end_ - p_;
      return;
    }
    // Inside a fallback every control word counts as one character.
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
    if (std::strcmp(name, "u") == 0) {
      if (!hasValue) return;
      const int64_t unit = value < 0 ? value + 65536 : value;
      Character(unit >= 0 && unit <= 0xFFFF ? char16_t(unit) : u'\uFFFD');
      fallbackLeft_ = state_.fallback;
      return;
    }
    if (std::strcmp(name, "deff") == 0) {
      if (hasValue && value >= 0 && value < 100000) defaultFont_ = state_.font = int32_t(value);
    } else if (std::strcmp(name, "plain") == 0) {
      state_.font = defaultFont_;
    } else if (std::strcmp(name, "uc") == 0) {
      state_.fallback = hasValue && value >= 0 && value < 100 ? int32_t(value) : kDefaultFallback;
    } else if (std::strcmp(name, "ansicpg") == 0) {
      documentCodePage_ = hasValue ? int32_t(value) : kCodePageLatin;
    } else if (std::strcmp(name, "fonttbl") == 0) {
      state_.fontTable = true;
      state_.skipped = true;
    } else if (std::strcmp(name, "f") == 0) {
      state_.font = hasValue && value >= 0 && value < 100000 ? int32_t(value) : 0;
    } else if (std::strcmp(name, "fcharset") == 0) {
      if (state_.fontTable && hasValue) DescribeFont(state_.font, int32_t(value));
    } else {
      for (const char* skipped : kSkippedDestinations)
        if (std::strcmp(name, skipped) == 0) {
          state_.skipped = true;
          return;
        }
      for (const Word& word : kTextWords)
        if (std::strcmp(name, word.name) == 0) {
          Text(word.text);
          return;
        }
    }
  }

  void DescribeFont(int32_t font, int32_t charset) {
    const int32_t codePage =
        charset == kCharsetHebrew ? kCodePageHebrew : charset == kCharsetAnsi ? kCodePageLatin : kNoCodePage;
    for (FontCodePage& known : fonts_)
      if (known.font == font) {
        known.codePage = codePage;
        return;
      }
    if (fonts_.size() < 1000) fonts_.push_back({font, codePage});
  }

  // The character of byte b in the code page of the current font, or of the document.
  char16_t Decode(uint8_t b) const {
    if (b < 0x80) return b;
    int32_t codePage = documentCodePage_;
    for (const FontCodePage& known : fonts_)
      if (known.font == state_.font && known.codePage != kNoCodePage) codePage = known.codePage;
    if (codePage == kCodePageHebrew) return kWindows1255[b - 0x80];
    if (codePage == kCodePageLatin) return kWindows1252[b - 0x80];
    return u'\uFFFD';
  }

  // One character of the text (0: one that shows nothing); dropped while a \u escape's
  // fallback is being passed over and in groups that are not text.
  void Character(char16_t c) {
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
    if (state_.skipped || c == 0) return;
    Put(c);
  }

  void Text(const char16_t* text) {
    if (fallbackLeft_ > 0) {
      --fallbackLeft_;
      return;
    }
    if (state_.skipped) return;
    for (; *text; ++text) Put(*text);
  }

  void Put(char16_t c) {
    if (n_ < capacity_) out_[n_++] = c;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  char16_t* out_;
  size_t capacity_;
  size_t n_ = 0;
  GroupState state_{kDefaultFallback, 0, false, false};
  // Groups nested deeper than kMaxDepth share the state of the deepest kept one, so that
  // hostile input cannot make the stack grow with its length.
  static constexpr size_t kMaxDepth = 1000;
  std::vector<GroupState> groups_;
  size_t unkeptGroups_ = 0;
  std::vector<FontCodePage> fonts_;
  int32_t documentCodePage_ = kCodePageLatin;
  int32_t defaultFont_ = 0;
  int32_t fallbackLeft_ = 0;
};

}  // namespace

char16_t* RtfToText(const uint8_t* rtf, size_t size, size_t* units) {
  *units = 0;
  // No sequence of RTF gives more characters than it has bytes.
  auto* text = static_cast<char16_t*>(platform::Alloc((size + 1) * sizeof(char16_t)));
  if (!text) return nullptr;
  Reader reader(rtf, size, text, size);
  *units = reader.Run();
  text[*units] = 0;
  return text;
}
