#include "solmar-book/book_compiler.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

#include "content/article.h"
#include "content/lz77_encoder.h"
#include "content/streams.h"
#include "platform/pack.h"
#include "platform/platform.h"
#include "solmar-book/book_text.h"

namespace book {
namespace {

constexpr uint8_t kContinuationMark = ' ';
constexpr int kMaxIndent = 63;
constexpr int kMaxLead = 3;
constexpr int kLeadUnit = 64;
constexpr uint16_t kGroupMask = kIndexArticleMask;

// Option groups a record kind accepts.
enum OptionSet : unsigned {
  kStyleOptions = 1u << 0,    // key small large bold
  kRtlOption = 1u << 1,       // rtl
  kAlignOptions = 1u << 2,    // left right center left2
  kGapOption = 1u << 3,       // gap
  kLayoutOptions = 1u << 4,   // indent= lead=
  kFlagsOption = 1u << 5,     // flags=
  kParamOption = 1u << 6,     // param=
  kVisibleOption = 1u << 7,   // visible
  kOpenOption = 1u << 8,      // open
  kKeyOption = 1u << 9,       // key=
};

constexpr unsigned kTextRecordOptions =
    kStyleOptions | kRtlOption | kAlignOptions | kGapOption | kLayoutOptions | kFlagsOption | kParamOption;
constexpr unsigned kRuleOptions = kAlignOptions | kGapOption | kFlagsOption;
constexpr unsigned kEntryOptions = kStyleOptions | kVisibleOption | kFlagsOption | kKeyOption;
constexpr unsigned kHeadingOptions = kEntryOptions | kOpenOption;

struct Options {
  uint8_t bits = 0;  // style, rtl, alignment, gap, visible, open
  bool alignmentGiven = false;
  int indent = -1;
  int lead = -1;
  int flags = -1;  // whole flags byte
  int param = -1;  // whole param byte
  int key = -1;    // whole index key
};

bool ParseNumber(std::string_view text, int maximum, int* value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  int parsed = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
  if (status != std::errc() || end != text.data() + text.size() || parsed < 0 || parsed > maximum) return false;
  *value = parsed;
  return true;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    size_t end = pos;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
    if (end > pos) words.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Splits "KIND OPTIONS | TEXT" at its first " | ", or before a bar that ends the line.
bool SplitRecordLine(std::string_view line, std::string_view* head, std::string_view* text) {
  const size_t bar = line.find(" | ");
  if (bar != std::string_view::npos) {
    *head = line.substr(0, bar);
    *text = TrimSpaces(line.substr(bar + 3));
    return true;
  }
  if (line.size() >= 2 && line.back() == '|' && (line[line.size() - 2] == ' ' || line[line.size() - 2] == '\t')) {
    *head = line.substr(0, line.size() - 1);
    *text = {};
    return true;
  }
  return false;
}

bool ParseOptions(const std::vector<std::string_view>& words, size_t first, unsigned allowed, Options* options,
                  std::string* error) {
  struct Flag {
    const char* name;
    unsigned set;
    uint8_t bits;
  };
  static constexpr Flag kFlags[] = {
      {"key", kStyleOptions, kParaStyleBit},      {"small", kStyleOptions, kParaSmaller},
      {"large", kStyleOptions, kParaLarger},      {"bold", kStyleOptions, kParaBold},
      {"rtl", kRtlOption, kParaRightToLeft},      {"left", kAlignOptions, 0x00},
      {"right", kAlignOptions, kParaAlignRight},  {"center", kAlignOptions, kParaAlignCentre},
      {"left2", kAlignOptions, kParaAlignMask},   {"gap", kGapOption, kParaExtraRow},
      {"visible", kVisibleOption, kIndexVisible}, {"open", kOpenOption, kIndexUnfolded},
  };
  struct Valued {
    const char* name;
    unsigned set;
    int maximum;
    int Options::*field;
    const char* range;
  };
  static constexpr Valued kValued[] = {
      {"indent", kLayoutOptions, kMaxIndent, &Options::indent, "0..63"},
      {"lead", kLayoutOptions, kMaxLead, &Options::lead, "0..3"},
      {"flags", kFlagsOption, 0xFF, &Options::flags, "0..0xFF"},
      {"param", kParamOption, 0xFF, &Options::param, "0..0xFF"},
      {"key", kKeyOption, 0xFFFF, &Options::key, "0..0xFFFF"},
  };

  for (size_t i = first; i < words.size(); ++i) {
    const std::string_view word = words[i];
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    bool known = false;
    if (equals == std::string_view::npos) {
      for (const Flag& flag : kFlags) {
        if (name != flag.name) continue;
        known = true;
        if (!(allowed & flag.set)) {
          *error = "option '" + std::string(name) + "' does not apply to this record";
          return false;
        }
        if (flag.set == kAlignOptions) {
          if (options->alignmentGiven) {
            *error = "more than one alignment";
            return false;
          }
          options->alignmentGiven = true;
        }
        options->bits |= flag.bits;
      }
    } else {
      for (const Valued& valued : kValued) {
        if (name != valued.name) continue;
        known = true;
        if (!(allowed & valued.set)) {
          *error = "option '" + std::string(name) + "=' does not apply to this record";
          return false;
        }
        int& field = options->*valued.field;
        if (field >= 0) {
          *error = "option '" + std::string(name) + "=' given twice";
          return false;
        }
        if (!ParseNumber(word.substr(equals + 1), valued.maximum, &field)) {
          *error = "option '" + std::string(name) + "=' needs a number " + valued.range;
          return false;
        }
      }
    }
    if (!known) {
      *error = "unknown option '" + std::string(word) + "'";
      return false;
    }
  }
  return true;
}

struct Location {
  const SourceFile* file = nullptr;
  int line = 0;
};

std::string Where(const Location& at) { return at.file->name + ":" + std::to_string(at.line); }

enum class Section { kNone, kArticle, kIndex, kSkipped };

// A heading whose group number the compiler chooses once every explicit one is known.
struct AutoHeading {
  size_t keyOffset;  // of the key's low byte in the index stream
};

struct Compiler {
  CompiledBook* book = nullptr;
  std::vector<Diagnostic>* diagnostics = nullptr;
  bool failed = false;

  std::vector<Location> articleAt;  // where each article was defined; file null when not yet
  Location indexAt;

  Section section = Section::kNone;
  int article = 0;
  CompiledStream* stream = nullptr;
  Location sectionAt;
  int records = 0;
  bool lastWasTitle = false;
  bool sectionRefusedRecords = false;  // then an empty section is no news

  std::vector<AutoHeading> autoHeadings;
  std::map<int, Location> explicitGroups;
  std::set<int> groupsInUse;

  void Report(const Location& at, std::string message) {
    diagnostics->push_back(Diagnostic{at.file->name, at.line, std::move(message)});
    failed = true;
    sectionRefusedRecords = true;
  }

  void CloseSection() {
    if (section == Section::kArticle || section == Section::kIndex) {
      const std::string what = section == Section::kArticle ? "article " + std::to_string(article) : "the index";
      if (records == 0) {
        if (!sectionRefusedRecords) Report(sectionAt, what + " has no records");
      } else {
        if (section == Section::kArticle) {
          stream->bytes.push_back(0);
        } else {
          stream->bytes.insert(stream->bytes.end(), 5, 0);
        }
        if (stream->bytes.size() > kMaxStreamBytes) {
          Report(sectionAt, what + " is " + std::to_string(stream->bytes.size()) +
                                " bytes once decompressed; at most 65535 fit");
        }
      }
    }
    section = Section::kNone;
    stream = nullptr;
  }

  void OpenSection(Section kind, CompiledStream* target, const Location& at) {
    section = kind;
    stream = target;
    sectionAt = at;
    stream->file = at.file->name;
    stream->line = at.line;
    stream->bytes.clear();
    records = 0;
    lastWasTitle = false;
    sectionRefusedRecords = false;
  }

  void Directive(const std::vector<std::string_view>& words, const Location& at) {
    CloseSection();
    section = Section::kSkipped;  // until the directive proves good
    if (words[0] == "@article") {
      int n = 0;
      if (words.size() != 2 || !ParseNumber(words[1], 0xFFFF, &n) || n < 1 || n > kArticleCount) {
        Report(at, "@article needs one article number 1..286");
        return;
      }
      Location& first = articleAt[size_t(n - 1)];
      if (first.file) {
        Report(at, "article " + std::to_string(n) + " is defined twice (first at " + Where(first) + ")");
        return;
      }
      first = at;
      article = n;
      OpenSection(Section::kArticle, &book->articles[size_t(n - 1)], at);
    } else if (words[0] == "@index") {
      if (words.size() != 1) {
        Report(at, "@index takes no arguments");
        return;
      }
      if (indexAt.file) {
        Report(at, "@index is given twice (first at " + Where(indexAt) + ")");
        return;
      }
      indexAt = at;
      OpenSection(Section::kIndex, &book->index, at);
    } else {
      Report(at, "unknown directive " + std::string(words[0]) + " (known: @article, @index)");
    }
  }

  bool Encode(std::string_view text, bool reversed, std::string* bytes, const Location& at) {
    std::string error;
    if (!EncodeText(text, bytes, &error)) {
      Report(at, error);
      return false;
    }
    if (reversed) ToVisualOrder(bytes);
    return true;
  }

  void AppendParagraph(uint8_t flags, uint8_t param, const std::string& text, bool rule, const Location& at) {
    if (records == 0 && !rule && text.empty()) {
      Report(at, "the first record of an article needs text (the reader refuses an empty first paragraph)");
      return;
    }
    stream->bytes.push_back(flags);
    stream->bytes.push_back(param);
    stream->bytes.insert(stream->bytes.end(), text.begin(), text.end());
    stream->bytes.push_back(0);
    ++records;
  }

  void ArticleRecord(const std::vector<std::string_view>& words, std::string_view text, const Location& at) {
    const std::string_view kind = words[0];
    std::string error;
    Options options;
    std::string bytes;
    const bool wasTitle = lastWasTitle;
    lastWasTitle = false;

    if (kind == "title" || kind == "subtitle") {
      if (words.size() > 1) {
        Report(at, std::string(kind) + " takes no options");
        return;
      }
      const bool title = kind == "title";
      if (title && records != 0) {
        Report(at, "title must be the first record of the article");
        return;
      }
      if (!title && !(records == 0 || (records == 1 && wasTitle))) {
        Report(at, "subtitle must be the first record of the article or follow the title");
        return;
      }
      const uint8_t flags = title ? kTitleFlags : kSubtitleFlags;
      if (!Encode(text, flags & kParaRightToLeft, &bytes, at)) return;
      AppendParagraph(flags, 0, bytes, false, at);
      lastWasTitle = title && records == 1;
      return;
    }

    if (kind == "rule") {
      int width = 0;
      if (words.size() < 2 || !ParseNumber(words[1], 0xFF, &width)) {
        Report(at, "rule needs a width code 0..255");
        return;
      }
      if (!ParseOptions(words, 2, kRuleOptions, &options, &error)) return Report(at, error);
      const uint8_t flags = options.flags >= 0 ? uint8_t(options.flags) : uint8_t(kParaRuleMask | options.bits);
      if (!IsRuleRecord(flags)) {
        Report(at, "a rule's flags must have all of 0x07 set");
        return;
      }
      if (!Encode(text, flags & kParaRightToLeft, &bytes, at)) return;
      AppendParagraph(flags, uint8_t(width), bytes, true, at);
      return;
    }

    if (kind != "p" && kind != "cont") {
      Report(at, "unknown record '" + std::string(kind) + "' in an article (known: p, cont, title, subtitle, rule)");
      return;
    }
    const bool continuation = kind == "cont";
    if (!ParseOptions(words, 1, kTextRecordOptions, &options, &error)) return Report(at, error);
    const uint8_t flags = options.flags >= 0 ? uint8_t(options.flags) : options.bits;
    if (flags == 0) {
      Report(at, "a text record's flags must not be 0, which ends the article; add an option such as rtl, right or key");
      return;
    }
    if (IsRuleRecord(flags)) {
      Report(at, "a text record must not have all of 0x07 set in its flags (that marks a rule)");
      return;
    }
    int param;
    if (options.param >= 0) {
      param = options.param;
      if (continuation && param < kLeadUnit) {
        Report(at, "a continuation's param needs a lead factor (0x40 or more)");
        return;
      }
    } else {
      int lead = options.lead;
      if (continuation && lead == 0) {
        Report(at, "a continuation needs lead 1..3");
        return;
      }
      if (lead < 0) lead = continuation ? 1 : 0;
      param = lead * kLeadUnit + std::max(options.indent, 0);
    }
    if (!Encode(text, flags & kParaRightToLeft, &bytes, at)) return;
    // The layout recognises a continuation by the space that begins its stored text.
    if (continuation) bytes.insert(bytes.begin(), char(kContinuationMark));
    AppendParagraph(flags, uint8_t(param), bytes, false, at);
  }

  void IndexRecord(const std::vector<std::string_view>& words, std::string_view text, const Location& at) {
    const std::string_view kind = words[0];
    const bool heading = kind == "heading";
    if (!heading && kind != "entry") {
      Report(at, "unknown record '" + std::string(kind) + "' in the index (known: heading, entry)");
      return;
    }
    int level = 0;
    if (words.size() < 2 || !ParseNumber(words[1], 0xFF, &level)) {
      Report(at, std::string(kind) + " needs a level 0..255");
      return;
    }
    size_t next = 2;
    int number = -1;  // article of an entry, group of a heading
    if (next < words.size() && ParseNumber(words[next], 0xFFFF, &number)) ++next;
    if (!heading && number < 0) {
      Report(at, "entry needs an article number after its level");
      return;
    }
    Options options;
    std::string error;
    if (!ParseOptions(words, next, heading ? kHeadingOptions : kEntryOptions, &options, &error))
      return Report(at, error);

    uint16_t key = 0;
    bool automatic = false;
    if (options.key >= 0) {
      key = uint16_t(options.key);
      if (key & kIndexHeading) groupsInUse.insert(key & kGroupMask);
    } else if (heading) {
      if (number < 0) {
        automatic = true;
      } else if (number > kGroupMask || number == kBookmarkGroupNumber) {
        Report(at, "heading group must be 0..16383 and not 2167 (the bookmark group)");
        return;
      } else if (auto [it, fresh] = explicitGroups.emplace(number, at); !fresh) {
        Report(at, "heading group " + std::to_string(number) + " is already used at " + Where(it->second));
        return;
      }
      if (!automatic) groupsInUse.insert(number);
      key = uint16_t(kIndexHeading | (automatic ? 0 : number));
    } else {
      if (number < 1 || number > kArticleCount) {
        Report(at, "entry names article " + std::to_string(number) + ", which is not in the book (1..286)");
        return;
      }
      key = uint16_t(kIndexEntry | number);
    }
    const int named = key & kIndexArticleMask;
    if (options.key >= 0 && (key & kIndexEntry) && (named < 1 || named > kArticleCount)) {
      Report(at, "key names article " + std::to_string(named) + ", which is not in the book (1..286)");
      return;
    }

    const uint8_t flags =
        options.flags >= 0 ? uint8_t(options.flags) : uint8_t(options.bits | kParaRightToLeft);
    if (flags == 0) {
      Report(at, "an index record's flags must not be 0, which ends the index");
      return;
    }
    std::string bytes;
    if (!Encode(text, true, &bytes, at)) return;
    if (records == 0 && bytes.empty()) {
      Report(at, "the first record of the index needs text (the reader refuses an empty first line)");
      return;
    }
    if (automatic) autoHeadings.push_back(AutoHeading{stream->bytes.size()});
    stream->bytes.push_back(uint8_t(key & 0xFF));
    stream->bytes.push_back(uint8_t(key >> 8));
    stream->bytes.push_back(flags);
    stream->bytes.push_back(uint8_t(level));
    stream->bytes.insert(stream->bytes.end(), bytes.begin(), bytes.end());
    stream->bytes.push_back(0);
    ++records;
  }

  void Line(std::string_view raw, const Location& at) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == '#') return;
    if (line.front() == '@') {
      Directive(SplitWords(line), at);
      return;
    }
    std::string_view head, text;
    if (!SplitRecordLine(line, &head, &text)) {
      Report(at, "a record needs ' | ' between its kind and options and its text");
      return;
    }
    const std::vector<std::string_view> words = SplitWords(head);
    if (words.empty()) {
      Report(at, "a record needs a kind before ' | '");
      return;
    }
    switch (section) {
      case Section::kNone:
        Report(at, "record outside an article or the index (start one with @article N or @index)");
        break;
      case Section::kSkipped:
        break;  // its directive was refused; one message is enough
      case Section::kArticle:
        ArticleRecord(words, text, at);
        break;
      case Section::kIndex:
        IndexRecord(words, text, at);
        break;
    }
  }

  void File(const SourceFile& file) {
    std::string_view text = file.text;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      Line(line, Location{&file, ++number});
    }
    CloseSection();
  }

  void NumberHeadings() {
    int next = 1;
    for (const AutoHeading& heading : autoHeadings) {
      while (groupsInUse.count(next) || next == kBookmarkGroupNumber) ++next;
      const uint16_t key = uint16_t(kIndexHeading | next);
      book->index.bytes[heading.keyOffset] = uint8_t(key & 0xFF);
      book->index.bytes[heading.keyOffset + 1] = uint8_t(key >> 8);
      ++next;
    }
  }

  void CheckComplete(const Location& end) {
    for (int n = 1; n <= kArticleCount;) {
      if (articleAt[size_t(n - 1)].file) {
        ++n;
        continue;
      }
      int last = n;
      while (last < kArticleCount && !articleAt[size_t(last)].file) ++last;
      Report(end, n == last ? "article " + std::to_string(n) + " is missing"
                            : "articles " + std::to_string(n) + ".." + std::to_string(last) + " are missing");
      n = last + 1;
    }
    if (!indexAt.file) Report(end, "the book has no @index");
  }
};

int LineCount(const std::string& text) {
  const int newlines = int(std::count(text.begin(), text.end(), '\n'));
  return (text.empty() || text.back() == '\n') ? std::max(newlines, 1) : newlines + 1;
}

void AppendBigEndian16(std::vector<uint8_t>* out, size_t value) {
  out->push_back(uint8_t(value >> 8));
  out->push_back(uint8_t(value & 0xFF));
}

}  // namespace

std::string FormatDiagnostic(const Diagnostic& diagnostic) {
  return diagnostic.file + ":" + std::to_string(diagnostic.line) + ": " + diagnostic.message;
}

bool CompileBook(const std::vector<SourceFile>& files, CompiledBook* book, std::vector<Diagnostic>* diagnostics) {
  *book = CompiledBook{};
  book->articles.resize(kArticleCount);
  if (files.empty()) {
    diagnostics->push_back(Diagnostic{"(book)", 0, "no source files"});
    return false;
  }
  Compiler compiler;
  compiler.book = book;
  compiler.diagnostics = diagnostics;
  compiler.articleAt.resize(kArticleCount);
  for (const SourceFile& file : files) compiler.File(file);
  compiler.CheckComplete(Location{&files.back(), LineCount(files.back().text)});
  if (!compiler.failed) compiler.NumberHeadings();
  return !compiler.failed;
}

bool MakeResource(const std::vector<uint8_t>& stream, uint16_t sequenceA, uint16_t sequenceB,
                  std::vector<uint8_t>* resource) {
  if (stream.empty() || stream.size() > kMaxStreamBytes) return false;
  const std::vector<uint8_t> tokens = Lz77Compress(stream.data(), stream.size());
  if (tokens.size() > kMaxCompressedBytes) return false;
  resource->clear();
  resource->reserve(14 + tokens.size());
  AppendBigEndian16(resource, tokens.size() + 8);
  AppendBigEndian16(resource, sequenceA);
  AppendBigEndian16(resource, sequenceB);
  AppendBigEndian16(resource, tokens.size());
  AppendBigEndian16(resource, stream.size());
  resource->insert(resource->end(), tokens.begin(), tokens.end());
  resource->insert(resource->end(), 4, 0);
  return true;
}

bool PackBook(const CompiledBook& book, std::vector<uint8_t>* pack, std::vector<Diagnostic>* diagnostics) {
  std::vector<std::vector<uint8_t>> resources;
  std::vector<platform::PackEntry> entries;
  bool ok = true;
  const auto add = [&](const CompiledStream& stream, uint32_t id, uint16_t a, uint16_t b) {
    std::vector<uint8_t> resource;
    if (!MakeResource(stream.bytes, a, b, &resource)) {
      diagnostics->push_back(Diagnostic{stream.file, stream.line,
                                        "resource " + std::to_string(id) + " does not fit the resource layout "
                                        "(at most 65535 bytes decompressed and 65527 compressed)"});
      ok = false;
      return;
    }
    resources.push_back(std::move(resource));
    entries.push_back(platform::PackEntry{id, platform::kResourceTypeRawData, nullptr, 0});
  };
  for (size_t i = 0; i < book.articles.size(); ++i) {
    const uint16_t sequence = uint16_t(i + 1 + 20);
    add(book.articles[i], kArticleResourceBase + uint32_t(i + 1), sequence, sequence);
  }
  add(book.index, kTableOfContentsResource, 1, 255);
  if (!ok) return false;
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].bytes = resources[i].data();
    entries[i].size = uint32_t(resources[i].size());
  }
  *pack = platform::WritePack(entries);
  return true;
}

bool ReadSourceDirectory(const std::string& directory, std::vector<SourceFile>* files, std::string* error) {
  namespace fs = std::filesystem;
  files->clear();
  std::error_code code;
  std::vector<fs::path> paths;
  for (fs::directory_iterator it(directory, code), end; !code && it != end; it.increment(code)) {
    if (it->path().extension() == ".txt" && it->is_regular_file(code)) paths.push_back(it->path());
  }
  if (code) {
    *error = directory + ": " + code.message();
    return false;
  }
  if (paths.empty()) {
    *error = directory + ": no *.txt source files";
    return false;
  }
  std::sort(paths.begin(), paths.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  for (const fs::path& path : paths) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in.is_open()) text << in.rdbuf();
    if (!in.is_open() || in.bad()) {
      *error = path.string() + ": cannot be read";
      return false;
    }
    files->push_back(SourceFile{path.string(), text.str()});
  }
  return true;
}

}  // namespace book
