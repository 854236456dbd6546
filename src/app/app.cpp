#include "app/app.h"

#include <QPushButton>
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "content/article.h"
#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_language.h"
#include "platform/qt/qt_platform.h"
#include "content/letter_code.h"
#include "dialogs/language_choice.h"
#include "content/verse_map.h"
#include "content/verse_reference.h"
#include "export/export.h"
#include "search/find_all.h"
#include "search/search.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "reader/go_to_verse.h"
#include "reader/main_window.h"
#include "reader/startup.h"

extern "C" const unsigned char solmar_book_pack[];
extern "C" const unsigned char solmar_book_pack_end[];

namespace {

// Printed in the interface's language (--lang, else the desktop's).
constexpr char kUsage[] = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: solmar [OPTION]...\n"
    "Reads the Hebrew book carried inside the program: each page above, its commentary below.\n"
    "\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "  --quit               close the running reader as Exit does (it saves its settings)\n"
    "  --find PATTERN       list every place in the book that PATTERN matches and exit: Hebrew in\n"
    "                       reading order, * for any run of characters, ? for any one; one line a\n"
    "                       hit: article, end offset, length, the text matched (exit 1: none)\n"
    "  --dump N             write article N (1 to 286) as Copy puts it on the clipboard as text:\n"
    "                       UTF-8, reading order, CR LF line ends; default letter base and options\n"
    "  --rtf N              write article N as the RTF document Copy puts on the clipboard\n"
    "  --verses REF         print the verses of the reference REF (\"Gen 1:3-5\", \"בראשית א:ג\"), one a\n"
    "                       line as the page reads them, then the reference (exit 2: no such verse)\n"
    "  --goto REF           open the reader at the verse REF, selected; a running reader goes there\n"
    "                       (with --screenshot: the picture shows the verse selected)\n"
    "  --screenshot FILE    draw the reader's window off screen into the PNG file FILE and exit\n"
    "    --size WxH         with a window of W x H pixels (default 540x800)\n"
    "    --article N        showing article N, 1 to 286 (default 1)\n"
    "  --pdf FILE           write the book's pages as printed (each page's title, text and\n"
    "                       commentary) to the PDF file FILE and exit, without a window\n"
    "    --pages A-B        pages A to B only, 1 to 143, or one page A (default: all)\n"
    "    --paper SIZE       a4 (the default) or letter\n"
    "  --lang he|en         speak Hebrew (right to left) or English for this run, whatever\n"
    "                       the desktop's language or the choice stored in the reader\n"
    "\n"
    "--find, --verses, --dump, --rtf, --pdf, --quit and --screenshot never read or write the reader's settings.\n"
    "Qt's own options (-platform NAME, -style NAME, -session ID, ...) are passed on to Qt;\n"
    "any other argument is ignored with a warning.\n");

// The --lang value the command line's messages follow (none: the desktop's language). Read
// before the options are checked, so that a refusal already speaks it.
const char* g_langArgument = nullptr;

struct Options {
  bool help = false;
  bool version = false;
  bool quit = false;
  const char* screenshot = nullptr;
  const char* find = nullptr;
  const char* verses = nullptr;
  const char* gotoReference = nullptr;
  int dump = 0;  // article for --dump
  int rtf = 0;   // article for --rtf
  int width = 540;
  int height = 800;
  bool sizeGiven = false;
  int article = 1;
  bool articleGiven = false;
  const char* pdf = nullptr;    // --pdf FILE
  const char* pages = nullptr;  // --pages A-B, checked when the PDF is made
  const char* paper = nullptr;  // --paper a4|letter
  const char* lang = nullptr;  // --lang: "he" or "en"
};

bool ParseSize(const char* text, int* width, int* height) {
  char x = 0;
  char rest = 0;
  return std::sscanf(text, "%d%c%d%c", width, &x, height, &rest) == 3 && (x == 'x' || x == 'X') && *width >= 100 &&
         *height >= 100 && *width <= 8192 && *height <= 8192;
}

bool ParseArticle(const char* text, int* article) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (!*text || *end || value < 1 || value > kArticleCount) return false;
  *article = int(value);
  return true;
}

// Whether arg is one of our options that takes a value.
bool TakesValue(const std::string& arg) {
  return arg == "--screenshot" || arg == "--size" || arg == "--article" || arg == "--find" || arg == "--dump" ||
         arg == "--rtf" || arg == "--pdf" || arg == "--pages" || arg == "--paper" ||
         arg == "--lang" || arg == "--verses" || arg == "--goto";
}

// Fills options from our own arguments and checks their values. Every other argument is
// left alone here: it may be Qt's (-session ID, -platform NAME, ...), and only once Qt has
// taken its own can the rest be told apart. False (with a message) when one of ours is wrong.
bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "%1 needs a value"), {name});
        return nullptr;
      }
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options->help = true;
    } else if (arg == "--version") {
      options->version = true;
    } else if (arg == "--quit") {
      options->quit = true;
    } else if (arg == "--screenshot") {
      if (!(options->screenshot = value("--screenshot"))) return false;
    } else if (arg == "--find") {
      if (!(options->find = value("--find"))) return false;
    } else if (arg == "--verses") {
      if (!(options->verses = value("--verses"))) return false;
    } else if (arg == "--goto") {
      if (!(options->gotoReference = value("--goto"))) return false;
    } else if (arg == "--dump" || arg == "--rtf") {
      const char* text = value(arg.c_str());
      if (!text) return false;
      int* article = arg == "--dump" ? &options->dump : &options->rtf;
      if (!ParseArticle(text, article)) {
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "%1 wants a number from 1 to %2 (got \"%3\")"),
                     {arg, std::to_string(kArticleCount), text});
        return false;
      }
    } else if (arg == "--pdf" || arg == "--pages" || arg == "--paper") {
      const char* text = value(arg.c_str());
      if (!text) return false;
      (arg == "--pdf" ? options->pdf : arg == "--pages" ? options->pages : options->paper) = text;
    } else if (arg == "--size") {
      const char* text = value("--size");
      if (!text) return false;
      if (!ParseSize(text, &options->width, &options->height)) {
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--size wants WxH, each from 100 to 8192 (got \"%1\")"), {text});
        return false;
      }
      options->sizeGiven = true;
    } else if (arg == "--lang") {
      if (!(options->lang = value("--lang"))) return false;
      if (!platform::qt::IsInterfaceLanguage(QString::fromLocal8Bit(options->lang))) {
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--lang wants he or en (got \"%1\")"), {options->lang});
        return false;
      }
    } else if (arg == "--article") {
      const char* text = value("--article");
      if (!text) return false;
      if (!ParseArticle(text, &options->article)) {
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--article wants a number from 1 to %1 (got \"%2\")"),
                     {std::to_string(kArticleCount), text});
        return false;
      }
      options->articleGiven = true;
    }
  }
  if ((options->sizeGiven || options->articleGiven) && !options->screenshot) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--size and --article go with --screenshot"));
    return false;
  }
  if ((options->pages || options->paper) && !options->pdf) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--pages and --paper go with --pdf"));
    return false;
  }
  if (options->pdf && (options->find || options->quit || options->screenshot || options->dump || options->rtf)) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--pdf goes alone, with --pages and --paper only"));
    return false;
  }
  const int exports = (options->dump ? 1 : 0) + (options->rtf ? 1 : 0);
  if (exports && (exports > 1 || options->find || options->quit || options->screenshot)) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--dump and --rtf go alone, one at a time"));
    return false;
  }
  const int listings = (options->find ? 1 : 0) + (options->verses ? 1 : 0);
  if (options->verses && (exports || listings > 1 || options->quit || options->screenshot || options->gotoReference)) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--verses goes alone"));
    return false;
  }
  if (options->gotoReference && (exports || options->find || options->quit)) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--goto goes alone, or with --screenshot"));
    return false;
  }
  if (options->find && (options->quit || options->screenshot)) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--find goes alone, without --quit or --screenshot"));
    return false;
  }
  if (options->quit && options->screenshot) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--quit and --screenshot do not go together"));
    return false;
  }
  return true;
}

// Warns about what is left of the command line once the application has taken its own
// arguments out of argv: the command line changes nothing for the reader (a desktop
// session restoring it may pass -session ID or -geometry WxH), so nothing stops it.
void WarnUnknownArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--version" || arg == "--quit") continue;
    if (TakesValue(arg)) {
      ++i;
      continue;
    }
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "ignoring unknown argument \"%1\" (see solmar --help)"), {arg});
  }
}

int RunQuit(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  WarnUnknownArguments(argc, argv);
  if (platform::SendInstanceRequest(kReaderClassName, platform::InstanceRequest::kQuit)) return 0;
  PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "no reader is running"));
  return 1;
}

// Lists every hit of the pattern in the book on standard output. No application object,
// window or settings: the book carried in the program is all it reads.
int RunFind(int argc, char** argv, const char* patternText) {
  WarnUnknownArguments(argc, argv);
  const QString pattern = QString::fromUtf8(patternText);
  uint8_t stored[kSearchStringSize] = {};
  char32_t refused = 0;
  switch (StoredPatternFromReadingOrder(std::u16string_view(reinterpret_cast<const char16_t*>(pattern.utf16()),
                                                            size_t(pattern.size())),
                                        stored, &refused)) {
    case PatternError::kNone: break;
    case PatternError::kEmpty:
      PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--find wants a pattern with something to look for"));
      return 2;
    case PatternError::kTooLong:
      PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "the pattern is longer than %1 characters"),
                   {std::to_string(kMaxPatternLength)});
      return 2;
    case PatternError::kNotInLetterCode: {
      char code[16];
      std::snprintf(code, sizeof code, "%04X", unsigned(refused));
      PrintMessage(QT_TRANSLATE_NOOP("CommandLine",
                                     "the book's text cannot hold \"%1\" (U+%2), so the pattern matches nothing"),
                   {QString::fromUcs4(&refused, 1).toUtf8().toStdString(), code});
      return 2;
    }
  }
  if (!platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack))) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "the book carried in the program cannot be read"));
    return 2;
  }
  const BookSearchCount count = FindAllInBook(stored, [](const BookHit& hit) {
    const QByteArray text = QString::fromUtf16(hit.readingText.data(), qsizetype(hit.readingText.size())).toUtf8();
    std::printf("%u\t%u\t%u\t%s\n", unsigned(hit.article), unsigned(hit.endOffset), unsigned(hit.length),
                text.constData());
  });
  if (count.unreadableArticles > 0)
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "%1 articles could not be read and were passed over"),
                 {std::to_string(count.unreadableArticles)});
  return count.hits > 0 ? 0 : 1;
}

// Prints the verses of a reference, one a line as the page reads them, and the reference.
// Like --find it reads only the book carried in the program.
int RunVerses(int argc, char** argv, const char* referenceText) {
  WarnUnknownArguments(argc, argv);
  if (!platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack))) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "the book carried in the program cannot be read"));
    return 2;
  }
  const VerseMap& map = BookVerseMap();
  const QString text = QString::fromUtf8(referenceText);
  const ReferenceResult result =
      ParseTypedReference(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())), map);
  if (result.error != ReferenceError::kNone) {
    // The refusal is put together from translated pieces, which need the translation
    // installed, and that needs an application object.
    QCoreApplication app(argc, argv);
    platform::qt::UseLanguage(CommandLineLanguage());
    const std::u16string message = ReferenceErrorMessage(result, map);
    std::fprintf(stderr, "solmar: %s\n",
                 QString::fromUtf16(message.data(), qsizetype(message.size())).toUtf8().constData());
    return 2;
  }
  std::u16string out;
  const bool whole = WriteVerses(map, result.range, &out);
  const QByteArray utf8 = QString::fromUtf16(out.data(), qsizetype(out.size())).toUtf8();
  if (!whole) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "a page of the book cannot be read"));
    return 2;
  }
  if (std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) != size_t(utf8.size()) || std::fflush(stdout) != 0) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot write the verses"));
    return 1;
  }
  return 0;
}

// Writes what Copy puts on the clipboard for the article with the default settings (letter
// base 1488, the Reverse option off): its text as UTF-8, or the RTF document. Like --find
// it needs no application object, window or settings.
int RunExport(int argc, char** argv, int article, bool rtf) {
  WarnUnknownArguments(argc, argv);
  if (!platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack))) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "the book carried in the program cannot be read"));
    return 2;
  }
  uint32_t length = 0;
  uint8_t* stream = LoadArticle(article, nullptr, &length);
  if (!stream) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "article %1 cannot be read"), {std::to_string(article)});
    return 2;
  }
  // The same direction rule as Copy: a Unicode base always gives reading order.
  const bool reverse = true;
  char16_t* text = ExportArticleText(stream, stream + length + 1, kUnicodeLetterBase, reverse);
  platform::Free(stream);
  if (!text) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "not enough memory for article %1"), {std::to_string(article)});
    return 2;
  }
  bool written = false;
  if (rtf) {
    size_t documentLength = 0;
    uint8_t* document = MakeRtfDocument(text, &documentLength);
    written = document && std::fwrite(document, 1, documentLength, stdout) == documentLength;
    platform::Free(document);
  } else {
    const QByteArray utf8 = QString::fromUtf16(text).toUtf8();
    written = std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) == size_t(utf8.size());
  }
  platform::Free(text);
  if (std::fflush(stdout) != 0) written = false;
  if (!written) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot write article %1"), {std::to_string(article)});
    return 1;
  }
  return 0;
}

int RunScreenshot(int argc, char** argv, const Options& options) {
  // A throwaway settings store: the user's settings are neither read nor written, and the
  // picture does not depend on them.
  QTemporaryDir configDir;
  if (!configDir.isValid()) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot make a temporary directory for the screenshot"));
    return 1;
  }
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  WarnUnknownArguments(argc, argv);
  PrepareReaderApplication();
  ApplyInterfaceLanguage(options.lang, false);
  platform::qt::SetSingleInstanceEnabled(false);
  platform::qt::SetWindowsOffscreen(true);
  platform::qt::SetDefaultWindowSize(options.width, options.height);

  // The platform's font, so no font chooser comes up.
  const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  WriteStringSetting(u"FontName", reinterpret_cast<const char16_t*>(family.utf16()));

  // Nobody can answer a message box off screen: each one is reported and closed with its
  // default button, so the picture shows the reader as it goes on afterwards.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "solmar: %s\n", qPrintable(box->text()));
      QAbstractButton* button = box->defaultButton();
      box->done(button ? box->standardButton(button) : QMessageBox::Ok);
    }
  });
  closer.start(10);

  ResetShellState();
  ResetReaderSettings();
  LoadDeviceOptions();
  platform::Window* window = StartReader(platform::kSwShowNormal, uint16_t(options.article));
  if (!window) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "the window could not be made"));
    return 1;
  }
  if (options.gotoReference) {
    const QString reference = QString::fromUtf8(options.gotoReference);
    std::u16string message;
    if (GoToTypedReference(window, std::u16string_view(reinterpret_cast<const char16_t*>(reference.utf16()),
                                                       size_t(reference.size())),
                           &message) != 1) {
      std::fprintf(stderr, "solmar: %s\n",
                   QString::fromUtf16(message.data(), qsizetype(message.size())).toUtf8().constData());
      return 2;
    }
  }
  platform::qt::SettleWindow(window, 5000);
  const QImage image = platform::qt::RenderWindow(window);
  if (image.isNull() || !image.save(QString::fromLocal8Bit(options.screenshot), "PNG")) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot write %1"), {options.screenshot});
    return 1;
  }
  return 0;
}

// The last value of --lang among the arguments that names a language the interface speaks,
// read the way the options are (the value of an option that takes one is not an option);
// none when there is no such value.
const char* LangArgument(int argc, char** argv) {
  const char* lang = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string arg = argv[i];
    if (!TakesValue(arg)) continue;
    if (arg == "--lang" && platform::qt::IsInterfaceLanguage(QString::fromLocal8Bit(argv[i + 1]))) lang = argv[i + 1];
    ++i;
  }
  return lang;
}

// Copies text with %1 ... %9 replaced by the matching argument, in one pass: what an
// argument holds is never replaced in turn.
std::string WithArguments(const std::string& text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < args.size()) {
      out += args.begin()[next - '1'];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

QString CommandLineLanguage() {
  return platform::qt::ChooseLanguage(QString::fromLocal8Bit(g_langArgument ? g_langArgument : ""), {});
}

void PrintMessage(const char* text, std::initializer_list<std::string_view> args) {
  const std::string line = "solmar: " +
                           WithArguments(platform::qt::TranslatedFor(CommandLineLanguage(), "CommandLine", text)
                                             .toUtf8()
                                             .toStdString(),
                                         args) +
                           "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void PrepareReaderApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Solmar"));
  QCoreApplication::setOrganizationName(QStringLiteral("Orvanel"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Solmar"));
  // The installed menu entry's name: desktops find the entry and its icon for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.orvanel.Solmar"));
  platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack));
}

void ApplyInterfaceLanguage(const char* commandLine, bool readStored) {
  QString stored;
  if (readStored)
    if (char16_t* value = ReadStringSetting(kLanguageSetting)) {
      stored = QString::fromUtf16(value);
      platform::Free(value);
    }
  const QString given = QString::fromLocal8Bit(commandLine ? commandLine : "");
  platform::qt::UseLanguage(platform::qt::ChooseLanguage(given, stored));
  QGuiApplication::setApplicationDisplayName(QCoreApplication::translate("Dialog", "Solmar"));
}

int SolmarMain(int argc, char** argv) {
  g_langArgument = LangArgument(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  if (options.help) {
    std::fputs(platform::qt::TranslatedFor(CommandLineLanguage(), "CommandLine", kUsage).toUtf8().constData(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("Solmar %s\n", SOLMAR_VERSION);
    return 0;
  }
  if (options.pdf) return RunPdf(argc, argv, options.pdf, options.pages, options.paper);
  if (options.find) return RunFind(argc, argv, options.find);
  if (options.verses) return RunVerses(argc, argv, options.verses);
  if (options.dump) return RunExport(argc, argv, options.dump, false);
  if (options.rtf) return RunExport(argc, argv, options.rtf, true);
  if (options.quit) return RunQuit(argc, argv);
  if (options.screenshot) return RunScreenshot(argc, argv, options);

  QApplication app(argc, argv);
  WarnUnknownArguments(argc, argv);
  PrepareReaderApplication();
  ApplyInterfaceLanguage(options.lang, true);
  if (!options.gotoReference) return ReaderMain(nullptr, platform::kSwShowNormal);
  // A reference that names no verse is refused here, before a reader starts or one that
  // runs is bothered.
  const QString reference = QString::fromUtf8(options.gotoReference);
  const std::u16string typed(reinterpret_cast<const char16_t*>(reference.utf16()), size_t(reference.size()));
  const VerseMap& map = BookVerseMap();
  const ReferenceResult result = ParseTypedReference(typed, map);
  if (result.error != ReferenceError::kNone) {
    const std::u16string message = ReferenceErrorMessage(result, map);
    std::fprintf(stderr, "solmar: %s\n",
                 QString::fromUtf16(message.data(), qsizetype(message.size())).toUtf8().constData());
    return 2;
  }
  return ReaderMain(nullptr, platform::kSwShowNormal, typed.c_str());
}
