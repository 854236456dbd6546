#include "app/app.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstring>

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
        std::fprintf(stderr, "solmar: --pages wants a page or a range A-B (got \"%s\")\n", pages);
        return 2;
      case PageRangeError::kOutside:
        std::fprintf(stderr, "solmar: --pages: the book has pages 1 to %d (got \"%s\")\n", int(kBookPageCount), pages);
        return 2;
      case PageRangeError::kBackwards:
        std::fprintf(stderr, "solmar: --pages: the range \"%s\" runs backwards\n", pages);
        return 2;
    }
  }
  platform::PaperSize paperSize = platform::PaperSize::kA4;
  if (paper) {
    if (std::strcmp(paper, "letter") == 0 || std::strcmp(paper, "Letter") == 0) {
      paperSize = platform::PaperSize::kLetter;
    } else if (std::strcmp(paper, "a4") != 0 && std::strcmp(paper, "A4") != 0) {
      std::fprintf(stderr, "solmar: --paper wants a4 or letter (got \"%s\")\n", paper);
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
    std::fprintf(stderr, "solmar: cannot write %s\n", file);
    return 1;
  }
  // The reader's defaults: the Unicode letter base, Reverse off; no settings are read.
  FontSpec fontSpec{};
  std::memcpy(fontSpec.faceName, kPdfFace, sizeof kPdfFace);
  fontSpec.fontAsciiBase = kUnicodeLetterBase;
  const PrintResult result = PrintBookPages(job, &range, 1, fontSpec, (kDefaultFlags & kFlagReverse) != 0);
  const bool written = platform::EndPrintJob(job, result.outcome == PrintOutcome::kPrinted);
  if (result.outcome == PrintOutcome::kFailed && result.failedPage) {
    std::fprintf(stderr, "solmar: page %d cannot be read\n", int(result.failedPage));
    return 1;
  }
  if (!written) {
    std::fprintf(stderr, "solmar: cannot write %s\n", file);
    return 1;
  }
  return 0;
}
