// Printing on Qt: a PDF file through QPdfWriter, or the desktop's printer (and its "print to
// file") through QPrinter and QPrintDialog, with a progress dialog that can stop the job.
//
// The context's units are print units (kPrintUnitsPerInch) from the paper's top-left
// corner: every sheet's painter is scaled from the device's resolution to them. Text goes
// out as glyph runs of the faces the fonts were made from, so the PDF engine embeds those
// faces and keeps the text as text.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/platform.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_window_access.h"

namespace platform {

struct PrintJob {
  std::unique_ptr<QPdfWriter> pdf;
  std::unique_ptr<QPrinter> printer;
  QString file;             // the file being written (removed when the job is abandoned)
  QPointer<QWidget> owner;  // where the progress dialog shows; none: no progress shown
  std::unique_ptr<QProgressDialog> progress;
  Dc* dc = nullptr;
  int sheets = 0;
  bool failed = false;

  QPagedPaintDevice* Device() const {
    if (pdf) return pdf.get();
    return printer.get();
  }
};

namespace {

// A job around a device that is set up already; the context measures from the start.
PrintJob* NewJob(PrintJob* job) {
  job->dc = qt::CreateImageDc(nullptr);
  return job;
}

QPageSize PageSizeOf(PaperSize paper) {
  return QPageSize(paper == PaperSize::kLetter ? QPageSize::Letter : QPageSize::A4);
}

// Print units per point: the page layout answers in points (1/72 inch).
constexpr double kUnitsPerPoint = double(kPrintUnitsPerInch) / 72.0;

int32_t Units(double points) { return int32_t(std::lround(points * kUnitsPerPoint)); }

}  // namespace

PrintJob* BeginPdfJob(const char16_t* path, PaperSize paper) {
  if (!path || !*path) return nullptr;
  const QString file = QString::fromUtf16(path);
  // QPdfWriter reports an unwritable file only when it ends: try the file first, so a
  // job that cannot be written is refused before any work is done.
  {
    QFile probe(file);
    const bool existed = probe.exists();
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return nullptr;
    probe.close();
    if (!existed) probe.remove();
  }
  auto* job = new PrintJob;
  job->file = file;
  job->pdf = std::make_unique<QPdfWriter>(file);
  job->pdf->setResolution(kPrintUnitsPerInch);
  job->pdf->setCreator(QStringLiteral("Solmar"));
  job->pdf->setPageLayout(QPageLayout(PageSizeOf(paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  return NewJob(job);
}

PrintJob* BeginPrintJobWithDialog(Window* owner, uint16_t currentPage, uint16_t pageCount,
                                  std::vector<PrintPageRange>* ranges) {
  if (!ranges || pageCount == 0) return nullptr;
  ranges->clear();
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setFullPage(true);
  printer->setCreator(QStringLiteral("Solmar"));
  printer->setDocName(QStringLiteral("Solmar"));
  currentPage = std::clamp<uint16_t>(currentPage, 1, pageCount);
  QWidget* parent = qt::WidgetOf(owner);
  {
    QPrintDialog dialog(printer.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // The dialog's page numbers are the book's pages, not sheets of paper.
    dialog.setMinMax(1, pageCount);
    printer->setFromTo(currentPage, currentPage);
    // The current page is offered first: the whole book is a few thousand sheets.
    dialog.setPrintRange(QAbstractPrintDialog::CurrentPage);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
  }
  switch (printer->printRange()) {
    case QPrinter::CurrentPage: ranges->push_back({currentPage, currentPage}); break;
    case QPrinter::PageRange:
      for (const QPageRanges::Range& range : printer->pageRanges().toRangeList()) {
        const int first = std::clamp(range.from, 1, int(pageCount));
        const int last = std::clamp(range.to, first, int(pageCount));
        ranges->push_back({uint16_t(first), uint16_t(last)});
      }
      break;
    default: break;
  }
  if (ranges->empty()) ranges->push_back({1, pageCount});
  auto* job = new PrintJob;
  job->printer = std::move(printer);
  job->file = job->printer->outputFileName();
  job->owner = parent;
  return NewJob(job);
}

bool PrintJobGeometry(PrintJob* job, PrintSheetGeometry* geometry) {
  if (!job || !geometry) return false;
  const QPageLayout layout = job->Device()->pageLayout();
  const QRectF full = layout.fullRectPoints();
  geometry->width = Units(full.width());
  geometry->height = Units(full.height());
  // What the device cannot print on: a printer's minimum margins, nothing for a PDF.
  const QMarginsF margins = job->printer ? layout.minimumMargins() : QMarginsF();
  geometry->printable = Rect{Units(margins.left()), Units(margins.top()), Units(full.width() - margins.right()),
                             Units(full.height() - margins.bottom())};
  return true;
}

Dc* PrintJobDc(PrintJob* job) { return job ? job->dc : nullptr; }

bool PrintJobNewSheet(PrintJob* job) {
  if (!job || job->failed) return false;
  QPagedPaintDevice* device = job->Device();
  if (job->sheets == 0) {
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(device)) {
      job->failed = true;
      return false;
    }
    job->dc->painter = std::move(painter);
  } else if (!job->dc->painter || !device->newPage()) {
    job->failed = true;
    return false;
  }
  ++job->sheets;
  QPainter& p = *job->dc->painter;
  p.resetTransform();
  p.scale(double(device->logicalDpiX()) / kPrintUnitsPerInch, double(device->logicalDpiY()) / kPrintUnitsPerInch);
  return true;
}

bool PrintJobProgress(PrintJob* job, const char16_t* text, int32_t done, int32_t total) {
  if (!job) return false;
  if (!job->owner) return true;
  if (!job->progress) {
    job->progress = std::make_unique<QProgressDialog>(job->owner);
    job->progress->setWindowModality(Qt::WindowModal);
    job->progress->setWindowTitle(QGuiApplication::applicationDisplayName());
    job->progress->setMinimumDuration(300);
    job->progress->setAutoClose(false);
    job->progress->setAutoReset(false);
  }
  QProgressDialog& progress = *job->progress;
  progress.setLabelText(QString::fromUtf16(text ? text : u""));
  progress.setMaximum(std::max(total, 1));
  progress.setValue(std::clamp(done, 0, std::max(total, 1)));
  QCoreApplication::processEvents();
  return !progress.wasCanceled();
}

bool EndPrintJob(PrintJob* job, bool finished) {
  if (!job) return false;
  job->progress.reset();
  bool written = finished && !job->failed && job->sheets > 0;
  if (!written && job->printer) job->printer->abort();
  if (job->dc->painter && !job->dc->painter->end()) written = false;
  job->dc->painter.reset();
  qt::DeleteImageDc(job->dc);
  job->pdf.reset();
  if (job->printer && job->printer->printerState() == QPrinter::Error) written = false;
  job->printer.reset();
  // A file left by an abandoned job is not what the user asked for.
  if (!written && !job->file.isEmpty()) QFile::remove(job->file);
  delete job;
  return written;
}

}  // namespace platform
