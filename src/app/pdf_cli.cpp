#include "app/app.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "print/page_range.h"
#include "print/print_book.h"
#include "shell/reader_settings.h"

namespace {

// The face the sheets are set in: the Culmus serif the reader's pictures use, when it is
// installed; otherwise the platform's default face.
constexpr char16_t kPdfFace[] = u"Frank Ruehl CLM";

}  // namespace

int RunPdf(int argc, char** argv, const char* file, const char* pages, const char* paper) {
  platform::PrintPageRange range{1, kBookPageCount};
  if (pages) {
    switch (ParsePageRange(pages, kBookPageCount, &range)) {
      case PageRangeError::kNone: break;
      case PageRangeError::kMalformed:
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--pages wants a page or a range A-B (got \"%1\")"), {pages});
        return 2;
      case PageRangeError::kOutside:
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--pages: the book has pages 1 to %1 (got \"%2\")"),
                     {std::to_string(kBookPageCount), pages});
        return 2;
      case PageRangeError::kBackwards:
        PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--pages: the range \"%1\" runs backwards"), {pages});
        return 2;
    }
  }
  platform::PaperSize paperSize = platform::PaperSize::kA4;
  if (paper) {
    if (std::strcmp(paper, "letter") == 0 || std::strcmp(paper, "Letter") == 0) {
      paperSize = platform::PaperSize::kLetter;
    } else if (std::strcmp(paper, "a4") != 0 && std::strcmp(paper, "A4") != 0) {
      PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "--paper wants a4 or letter (got \"%1\")"), {paper});
      return 2;
    }
  }

  // No window is opened: fonts need an application object, not a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PrepareReaderApplication();

  const QString path = QFile::decodeName(file);
  platform::PrintJob* job = platform::BeginPdfJob(reinterpret_cast<const char16_t*>(path.utf16()), paperSize);
  if (!job) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot write %1"), {file});
    return 1;
  }
  // The reader's defaults: the Unicode letter base, Reverse off; no settings are read.
  FontSpec fontSpec{};
  std::memcpy(fontSpec.faceName, kPdfFace, sizeof kPdfFace);
  fontSpec.fontAsciiBase = kUnicodeLetterBase;
  const PrintResult result = PrintBookPages(job, &range, 1, fontSpec, (kDefaultFlags & kFlagReverse) != 0);
  const bool written = platform::EndPrintJob(job, result.outcome == PrintOutcome::kPrinted);
  if (result.outcome == PrintOutcome::kFailed && result.failedPage) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "page %1 cannot be read"), {std::to_string(int(result.failedPage))});
    return 1;
  }
  if (!written) {
    PrintMessage(QT_TRANSLATE_NOOP("CommandLine", "cannot write %1"), {file});
    return 1;
  }
  return 0;
}
