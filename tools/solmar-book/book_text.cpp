#include "solmar-book/book_text.h"

#include <algorithm>
#include <cstdio>

#include "content/letter_code.h"
#include "content/visual_order.h"

namespace book {
namespace {

// The source's Hebrew letters are the Unicode ones.
constexpr char32_t kFirstHebrewLetter = char32_t(kUnicodeLetterBase);
constexpr char32_t kLastHebrewLetter = kFirstHebrewLetter + kLetterCount - 1;

bool IsLetterCodeLetter(uint8_t b) { return b >= kLetterFirst && b < kLetterFirst + kLetterCount; }

std::string CodePointName(char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", unsigned(c));
  return buffer;
}

// Decodes one UTF-8 sequence at *pos; false for malformed, overlong or surrogate input.
bool NextCodePoint(std::string_view s, size_t* pos, char32_t* out) {
  const auto byte = [&](size_t i) { return uint8_t(s[i]); };
  const uint8_t lead = byte(*pos);
  int extra;
  char32_t c;
  char32_t minimum;
  if (lead < 0x80) {
    *out = lead;
    ++*pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return false;
  }
  if (s.size() - *pos <= size_t(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const uint8_t next = byte(*pos + size_t(i));
    if ((next & 0xC0) != 0x80) return false;
    c = c << 6 | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  *pos += size_t(extra) + 1;
  *out = c;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    out->push_back(char(c));
  } else if (c < 0x800) {
    out->push_back(char(0xC0 | c >> 6));
    out->push_back(char(0x80 | (c & 0x3F)));
  } else {
    out->push_back(char(0xE0 | c >> 12));
    out->push_back(char(0x80 | (c >> 6 & 0x3F)));
    out->push_back(char(0x80 | (c & 0x3F)));
  }
}

}  // namespace

bool EncodeText(std::string_view source, std::string* letterCode, std::string* error) {
  letterCode->clear();
  size_t pos = 0;
  while (pos < source.size()) {
    if (source[pos] == '\\') {
      if (pos + 1 >= source.size()) {
        *error = "a backslash ends the text; write \\\\ for a backslash";
        return false;
      }
      const char kind = source[pos + 1];
      if (kind == '\\') {
        letterCode->push_back('\\');
        pos += 2;
      } else if (kind == 's') {
        letterCode->push_back(' ');
        pos += 2;
      } else if (kind == 'x') {
        const int high = pos + 2 < source.size() ? HexDigit(source[pos + 2]) : -1;
        const int low = pos + 3 < source.size() ? HexDigit(source[pos + 3]) : -1;
        if (high < 0 || low < 0) {
          *error = "\\x needs two hexadecimal digits";
          return false;
        }
        if (high == 0 && low == 0) {
          *error = "\\x00 cannot be stored: a 0 byte ends the text";
          return false;
        }
        letterCode->push_back(char(high * 16 + low));
        pos += 4;
      } else {
        *error = std::string("unknown escape \\") + kind + " (known: \\\\, \\s, \\xNN)";
        return false;
      }
      continue;
    }
    char32_t c;
    if (!NextCodePoint(source, &pos, &c)) {
      *error = "malformed UTF-8";
      return false;
    }
    if (c >= kFirstHebrewLetter && c <= kLastHebrewLetter) {
      letterCode->push_back(char(kLetterFirst + (c - kFirstHebrewLetter)));
    } else if (c == '{') {
      letterCode->push_back(char(kLiteralBrace));
    } else if (c >= 'a' && c <= 'z') {
      *error = std::string("lower-case Latin letter '") + char(c) +
               "' cannot be stored: the letter code reads it as a Hebrew letter";
      return false;
    } else if (c == '~') {
      *error = "'~' cannot be stored: the letter code uses it for '{'";
      return false;
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(c));
      *error = "control character " + CodePointName(c) + " in the text; write it as " + escape;
      return false;
    } else if (c < 0x100) {
      letterCode->push_back(char(c));
    } else if (c >= 0x0591 && c <= 0x05C7) {
      *error = "Hebrew point or cantillation mark " + CodePointName(c) + " cannot be stored in the letter code";
      return false;
    } else {
      *error = "character " + CodePointName(c) + " cannot be stored in the letter code";
      return false;
    }
  }
  return true;
}

std::string DecodeText(std::string_view letterCode) {
  std::string out;
  const size_t n = letterCode.size();
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = uint8_t(letterCode[i]);
    if (IsLetterCodeLetter(b) || b == kLiteralBrace) {
      AppendUtf8(&out, LetterToDisplayUnit(b, kUnicodeLetterBase));
    } else if (b == '\\') {
      out += "\\\\";
    } else if (b == ' ' && (i == 0 || i + 1 == n)) {
      out += "\\s";
    } else if (b < 0x20 || b >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(b));
      out += escape;
    } else {
      out.push_back(char(b));
    }
  }
  return out;
}

void ToVisualOrder(std::string* letterCode) {
  SwapVisualOrder(reinterpret_cast<uint8_t*>(letterCode->data()), letterCode->size());
}

}  // namespace book
