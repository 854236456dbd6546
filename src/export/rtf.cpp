// The RTF document: a right-to-left, right-aligned Hebrew document whose characters are
// all written as \u escapes or plain ASCII.
#include <cstring>

#include "export/export.h"
#include "platform/platform.h"
#include "shell/alloc_or_abort.h"

namespace {

constexpr char kRtfHeader[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset177\\cpg1255 David;}}{\\colortbl\\red0\\green0\\blue0;"
    "\\red255\\green255\\blue255;\\red255\\green0\\blue0;}\\rtldoc\\pard\\rtlpar\\qr\\lang1033\\f0\\fs20\\uc0\r\n";
// The separator starts the appended part afresh: whatever paragraph, character and
// Unicode-skip state an earlier document (often another program's, with \uc1 and a
// fallback byte after every \u) left behind, the part after it is right-to-left and its
// \u escapes have no fallback.
constexpr char kRtfSeparator[] =
    "\\pard\\plain\\rtlpar\\uc0\\qc\\cf2\\fs72\\b*  *  *  *  *\\b0\\par\\par\\qr\\fs20\\cf0\r\n";
constexpr char kRtfLineEnd[] = "\\par\\par\r\n";
constexpr char kRtfClosing[] = "}\r\n";
constexpr size_t kRtfHeaderLength = sizeof kRtfHeader - 1;
constexpr size_t kRtfSeparatorLength = sizeof kRtfSeparator - 1;
constexpr size_t kRtfLineEndLength = sizeof kRtfLineEnd - 1;
constexpr size_t kRtfClosingLength = sizeof kRtfClosing - 1;
static_assert(kRtfHeaderLength == 180 && kRtfSeparatorLength == 74 && kRtfLineEndLength == 10);
static_assert(kRtfHeaderLength + kRtfClosingLength + 1 <= kRtfNewDocumentExtra);
static_assert(kRtfSeparatorLength + kRtfClosingLength + 1 <= kRtfAppendExtra);

// Room the sizing pass reserves at the start: the final line end, the 0 and spare.
constexpr size_t kRtfBodyReserve = 13;
// The sizing pass counts 12 for a line end of 10 bytes.
constexpr size_t kRtfLineEndSpare = 2;

// Hebrew presentation forms and their canonical decompositions.
constexpr char16_t kPresentationForms[][4] = {
    {0xFB2A, 0x05E9, 0x05C1, 0}, {0xFB2B, 0x05E9, 0x05C2, 0}, {0xFB2C, 0x05E9, 0x05BC, 0x05C1},
    {0xFB2D, 0x05E9, 0x05BC, 0x05C2}, {0xFB30, 0x05D0, 0x05BC, 0}, {0xFB31, 0x05D1, 0x05BC, 0},
    {0xFB32, 0x05D2, 0x05BC, 0}, {0xFB33, 0x05D3, 0x05BC, 0}, {0xFB34, 0x05D4, 0x05BC, 0},
    {0xFB35, 0x05D5, 0x05BC, 0}, {0xFB36, 0x05D6, 0x05BC, 0}, {0xFB38, 0x05D8, 0x05BC, 0},
    {0xFB39, 0x05D9, 0x05BC, 0}, {0xFB3A, 0x05DA, 0x05BC, 0}, {0xFB3B, 0x05DB, 0x05BC, 0},
    {0xFB3C, 0x05DC, 0x05BC, 0}, {0xFB3E, 0x05DE, 0x05BC, 0}, {0xFB40, 0x05E0, 0x05BC, 0},
    {0xFB41, 0x05E1, 0x05BC, 0}, {0xFB43, 0x05E3, 0x05BC, 0}, {0xFB44, 0x05E4, 0x05BC, 0},
    {0xFB46, 0x05E6, 0x05BC, 0}, {0xFB47, 0x05E7, 0x05BC, 0}, {0xFB48, 0x05E8, 0x05BC, 0},
    {0xFB49, 0x05E9, 0x05BC, 0}, {0xFB4A, 0x05EA, 0x05BC, 0}, {0xFB4B, 0x05D5, 0x05B9, 0},
};
static_assert(sizeof kPresentationForms / sizeof kPresentationForms[0] == 27);
// The letters themselves and everything below them are never presentation forms.
constexpr char16_t kLastHebrewLetter = 0x05EA;

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool NeedsBackslash(char16_t c) { return c == u'\\' || c == u'{' || c == u'}'; }
bool IsPlainByte(char16_t c) { return c >= 0x21 && c <= 0x7E; }

// Bytes "\u" and the decimal value of c take, at most.
size_t EscapeRoom(char16_t c) { return c < 1000 ? 5 : c < 10000 ? 6 : 7; }

// How line ends become paragraphs. An article's run of CR and LF, however long, is one
// "\par\par" line end and the body ends with one more; other text keeps its lines: every
// CR LF, lone CR or lone LF ends one paragraph, and the last paragraph is ended too.
enum class LineEnds { kArticle, kEachLine };
constexpr char kRtfParagraphEnd[] = "\\par\r\n";
constexpr size_t kRtfParagraphEndLength = sizeof kRtfParagraphEnd - 1;
static_assert(kRtfParagraphEndLength + 1 <= kRtfBodyReserve);

// One pass over the units from text to end. Without out it answers the room the body needs
// (an upper bound); with out it writes the body and its 0 and answers the bytes before the 0.
//
// A \u escape is a control word that ends at its first character that is not a digit, and
// a space right after it is taken as its delimiter. So after an escape a run of spaces gets
// one space more, and a digit gets a space in front of it: without it the digit would be
// read as part of the number. Nowhere else is a space added.
size_t RtfPass(const char16_t* text, const char16_t* end, LineEnds lineEnds, uint8_t* out) {
  const bool write = out != nullptr;
  size_t n = write ? 0 : kRtfBodyReserve;
  bool afterEscape = false;
  bool paragraphOpen = false;
  auto put = [&](const char* bytes, size_t count) {
    if (write) std::memcpy(out + n, bytes, count);
    n += count;
  };
  auto escape = [&](char16_t c) {
    if (write) {
      // "\u" and the decimal value, written without a formatting call: letters are most
      // of an article and each one is an escape.
      char digits[5];
      int count = 0;
      for (unsigned value = c; count == 0 || value != 0; value /= 10) digits[count++] = char('0' + value % 10);
      out[n++] = '\\';
      out[n++] = 'u';
      while (count > 0) out[n++] = uint8_t(digits[--count]);
    } else {
      n += EscapeRoom(c);
    }
    afterEscape = true;
  };
  const char16_t* p = text;
  while (p < end) {
    const char16_t c = *p;
    if (c == u' ') {
      size_t run = 0;
      while (p < end && *p == u' ') {
        ++run;
        ++p;
      }
      if (afterEscape) ++run;
      if (write) std::memset(out + n, ' ', run);
      n += run;
      afterEscape = false;
      paragraphOpen = true;
      continue;
    }
    if (IsLineBreak(c)) {
      if (lineEnds == LineEnds::kArticle) {
        while (p < end && IsLineBreak(*p)) ++p;
        put(kRtfLineEnd, kRtfLineEndLength);
        if (!write) n += kRtfLineEndSpare;
      } else {
        p += (c == u'\r' && p + 1 < end && p[1] == u'\n') ? 2 : 1;
        put(kRtfParagraphEnd, kRtfParagraphEndLength);
      }
      afterEscape = false;
      paragraphOpen = false;
      continue;
    }
    ++p;
    paragraphOpen = true;
    if (NeedsBackslash(c)) {
      const char pair[2] = {'\\', char(c)};
      put(pair, 2);
      afterEscape = false;
    } else if (IsPlainByte(c)) {
      if (afterEscape && IsAsciiDigit(c)) put(" ", 1);
      const char byte = char(c);
      put(&byte, 1);
      afterEscape = false;
    } else if (const char16_t* form = FindPresentationForm(c)) {
      for (int i = 1; i < 4 && form[i]; ++i) escape(form[i]);
    } else {
      escape(c);
    }
  }
  if (write) {
    if (lineEnds == LineEnds::kArticle)
      put(kRtfLineEnd, kRtfLineEndLength);
    else if (paragraphOpen)
      put(kRtfParagraphEnd, kRtfParagraphEndLength);
    out[n] = 0;
  }
  return n;
}

const char16_t* TextEnd(const char16_t* text) {
  while (*text) ++text;
  return text;
}

}  // namespace

const char16_t* FindPresentationForm(char16_t unit) {
  if (unit <= kLastHebrewLetter) return nullptr;
  for (const auto& entry : kPresentationForms)
    if (entry[0] == unit) return entry;
  return nullptr;
}

size_t MeasureRtfBody(const char16_t* text) { return RtfPass(text, TextEnd(text), LineEnds::kArticle, nullptr); }

uint8_t* MakeRtfBody(const char16_t* text) {
  const char16_t* end = TextEnd(text);
  const size_t room = RtfPass(text, end, LineEnds::kArticle, nullptr);
  auto* body = static_cast<uint8_t*>(AllocOrAbort(room + 1));
  if (!body) return nullptr;
  RtfPass(text, end, LineEnds::kArticle, body);
  return body;
}

uint8_t* MakeRtfFromText(const char16_t* text, size_t units, size_t* length) {
  *length = 0;
  const size_t room = kRtfHeaderLength + RtfPass(text, text + units, LineEnds::kEachLine, nullptr);
  auto* document = static_cast<uint8_t*>(platform::Alloc(room + 1));
  if (!document) return nullptr;
  std::memcpy(document, kRtfHeader, kRtfHeaderLength);
  *length = kRtfHeaderLength + RtfPass(text, text + units, LineEnds::kEachLine, document + kRtfHeaderLength);
  return document;
}

size_t JoinRtfDocument(uint8_t* out, const uint8_t* previous, size_t previousSize, const uint8_t* body,
                       size_t bodyLength) {
  uint8_t* o = out;
  if (previous && previousSize > 0) {
    size_t kept = previousSize;
    while (kept > 0 && (previous[kept - 1] == '\r' || previous[kept - 1] == '\n' || previous[kept - 1] == ' ' ||
                        previous[kept - 1] == '\t'))
      --kept;
    if (kept > 0 && previous[kept - 1] == '}') --kept;
    std::memcpy(o, previous, kept);
    o += kept;
    std::memcpy(o, kRtfSeparator, kRtfSeparatorLength);
    o += kRtfSeparatorLength;
  } else {
    std::memcpy(o, kRtfHeader, kRtfHeaderLength);
    o += kRtfHeaderLength;
  }
  std::memcpy(o, body, bodyLength);
  o += bodyLength;
  std::memcpy(o, kRtfClosing, kRtfClosingLength);
  o += kRtfClosingLength;
  *o++ = 0;
  return size_t(o - out);
}

uint8_t* MakeRtfDocument(const char16_t* text, size_t* length) {
  *length = 0;
  uint8_t* body = MakeRtfBody(text);
  if (!body) return nullptr;
  const size_t bodyLength = std::strlen(reinterpret_cast<const char*>(body));
  auto* document = static_cast<uint8_t*>(platform::Alloc(bodyLength + kRtfNewDocumentExtra));
  if (document) *length = JoinRtfDocument(document, nullptr, 0, body, bodyLength) - 1;
  platform::Free(body);
  return document;
}
