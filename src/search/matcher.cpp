// The matcher, the record list of an article and the search of one article.
#include <cstddef>
#include <cstring>

#include "search/search.h"
#include "shell/alloc_or_abort.h"

namespace {

// Offsets past this are never looked at: every offset of a match must fit 16 bits.
constexpr uint32_t kOffsetLimit = 0x10000;

constexpr ptrdiff_t kNone = -1;

// The final form that a plain letter of a pattern also matches (kaf, mem, nun, pe and
// tsadi: each final form sits just below its plain letter in the letter code), or 0.
uint8_t FinalTwin(uint8_t wanted) {
  switch (wanted) {
    case 0x6C: case 0x6F: case 0x71: case 0x75: case 0x77: return uint8_t(wanted - 1);
    default: return 0;
  }
}

// Whether a text byte stands where the pattern wants `wanted`: the same byte, any byte for
// "?", and a plain letter's final form for the plain letter (a final form wants itself).
bool Matches(uint8_t wanted, uint8_t byte) {
  return byte == wanted || wanted == kWildcardAny || (FinalTwin(wanted) != 0 && byte == FinalTwin(wanted));
}

// The highest position at or below from that holds byte, or kNone.
ptrdiff_t FindLastByte(const uint8_t* text, uint8_t byte, ptrdiff_t from) {
  if (from < 0) return kNone;
#if defined(__GLIBC__)
  const void* found = memrchr(text, byte, size_t(from + 1));
  return found ? static_cast<const uint8_t*>(found) - text : kNone;
#else
  for (ptrdiff_t p = from; p >= 0; --p)
    if (text[p] == byte) return p;
  return kNone;
#endif
}

// The positions, from the highest down, where the pattern's last byte is met. Most
// positions of a text fail on that byte, so finding the candidates is most of the work: for
// a plain letter with a final form both are looked for, each scan going on only once the
// position it found has been used.
struct Candidates {
  const uint8_t* text;
  uint8_t last;
  uint8_t twin;     // the final form the last byte also matches, or 0
  ptrdiff_t plain;  // the highest unused position of last (for "?", of any byte)
  ptrdiff_t final;  // the highest unused position of twin
};

Candidates FirstCandidates(const uint8_t* text, uint8_t last, ptrdiff_t from) {
  Candidates c{text, last, FinalTwin(last), kNone, kNone};
  c.plain = last == kWildcardAny ? from : FindLastByte(text, last, from);
  if (c.twin) c.final = FindLastByte(text, c.twin, from);
  return c;
}

ptrdiff_t CurrentCandidate(const Candidates& c) { return c.plain > c.final ? c.plain : c.final; }

void NextCandidate(Candidates* c) {
  const ptrdiff_t p = CurrentCandidate(*c);
  if (c->last == kWildcardAny) {
    c->plain = p - 1;
    return;
  }
  if (p == c->plain) c->plain = FindLastByte(c->text, c->last, p - 1);
  if (p == c->final) c->final = FindLastByte(c->text, c->twin, p - 1);
}

// MatchPattern on positions counted from text (the text begin): the first n bytes of
// pattern, tried from position from down to 0. Answers the end position or kNone (always
// for an empty pattern).
ptrdiff_t Match(const uint8_t* text, const uint8_t* pattern, ptrdiff_t n, ptrdiff_t from, uint16_t* matchLength) {
  if (n <= 0) return kNone;
  for (Candidates c = FirstCandidates(text, pattern[n - 1], from); CurrentCandidate(c) >= 0; NextCandidate(&c)) {
    const ptrdiff_t p = CurrentCandidate(c);
    ptrdiff_t q = n - 2;
    ptrdiff_t t = p - 1;
    bool failed = false;
    while (q >= 0) {
      if (t < 0) {
        failed = true;
        break;
      }
      const uint8_t wanted = pattern[q];
      if (Matches(wanted, text[t])) {
        --q;
        --t;
      } else if (wanted == kWildcardRun) {
        // The part before the star, as high as it matches below: the star spans the rest.
        uint16_t prefixLength = 0;
        const ptrdiff_t r = Match(text, pattern, q, t, &prefixLength);
        if (r == kNone) return kNone;
        *matchLength = uint16_t(p - r + prefixLength);
        return p;
      } else {
        failed = true;
        break;
      }
    }
    if (!failed) {
      *matchLength = uint16_t(p - t);
      return p;
    }
  }
  return kNone;
}

// The part of the pattern that is looked for: without the "*"s at either end, since a run
// of anything there adds nothing to a match. Answers its length, with *pattern moved past
// the leading stars, or kNone when the whole pattern is longer than the matcher takes.
ptrdiff_t PatternLength(const uint8_t** pattern) {
  const uint8_t* p = *pattern;
  ptrdiff_t n = ptrdiff_t(strnlen(reinterpret_cast<const char*>(p), kMaxPatternLength + 1));
  if (n > kMaxPatternLength) return kNone;
  while (n > 0 && p[0] == kWildcardRun) {
    ++p;
    --n;
  }
  while (n > 0 && p[n - 1] == kWildcardRun) --n;
  *pattern = p;
  return n;
}

// MatchPattern for a pattern whose length n is known to be good.
const uint8_t* MatchKnownLength(const uint8_t* textBegin, const uint8_t* pattern, ptrdiff_t n, const uint8_t* from,
                                uint16_t* matchLength) {
  const ptrdiff_t end = Match(textBegin, pattern, n, from - textBegin, matchLength);
  return end == kNone ? nullptr : textBegin + end;
}

}  // namespace

const uint8_t* MatchPattern(const uint8_t* textBegin, const uint8_t* pattern, const uint8_t* from,
                            uint16_t* matchLength) {
  uint16_t length = 0;
  if (matchLength) *matchLength = 0;
  if (!textBegin || !pattern || !from || from < textBegin) return nullptr;
  const ptrdiff_t n = PatternLength(&pattern);
  if (n == kNone) return nullptr;
  const uint8_t* end = MatchKnownLength(textBegin, pattern, n, from, &length);
  if (end && matchLength) *matchLength = length;
  return end;
}

bool BuildParagraphSpans(const uint8_t* article, uint32_t length, ParagraphSpan** list) {
  *list = nullptr;
  if (!article) return true;
  if (length > kOffsetLimit) length = kOffsetLimit;
  ParagraphSpan** tail = list;
  uint32_t at = 0;
  // A record needs its flags and parameter bytes and a 0 after its text, all inside.
  while (length - at >= 3 && article[at] != 0) {
    const uint8_t* text = article + at + 2;
    const auto* nul = static_cast<const uint8_t*>(std::memchr(text, 0, length - at - 2));
    if (!nul) break;
    auto* node = static_cast<ParagraphSpan*>(AllocOrAbort(sizeof(ParagraphSpan)));
    if (!node) {
      FreeParagraphSpans(*list);
      *list = nullptr;
      return false;
    }
    *node = ParagraphSpan{nullptr, article + at, nul};
    *tail = node;
    tail = &node->next;
    at = uint32_t(nul - article) + 1;
  }
  return true;
}

void FreeParagraphSpans(ParagraphSpan* list) {
  while (list) {
    ParagraphSpan* next = list->next;
    platform::Free(list);
    list = next;
  }
}

uint16_t SearchArticle(const uint8_t* article, uint32_t length, uint16_t start, const uint8_t* pattern,
                       uint16_t* matchLength, bool* outOfMemory) {
  *matchLength = 0;
  if (outOfMemory) *outOfMemory = false;
  ParagraphSpan* spans = nullptr;
  if (!BuildParagraphSpans(article, length, &spans)) {
    if (outOfMemory) *outOfMemory = true;
    return 0;
  }
  const ptrdiff_t n = pattern ? PatternLength(&pattern) : kNone;
  const uint8_t* found = nullptr;
  uint16_t foundLength = 0;
  for (const ParagraphSpan* span = n == kNone ? nullptr : spans; span && !found; span = span->next) {
    const uint32_t textBegin = uint32_t(span->record - article) + 2;
    const uint32_t textEnd = uint32_t(span->textEnd - article);
    if (textEnd < start) continue;
    // Within the record from start itself, or from the text's last byte when start lies
    // before the text. An empty text has no last byte.
    uint32_t from;
    if (start >= textBegin) {
      from = start;
    } else if (textEnd > textBegin) {
      from = textEnd - 1;
    } else {
      continue;
    }
    found = MatchKnownLength(article + textBegin, pattern, n, article + from, &foundLength);
  }
  FreeParagraphSpans(spans);
  if (!found) return 0;
  *matchLength = foundLength;
  return uint16_t(found - article);
}
