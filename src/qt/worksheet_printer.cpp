#include "qt/worksheet_printer.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include "data/errors.h"
#include "data/textfile.h"
#include "qt/worksheet_page.h"

namespace tervano::qt {

namespace {

using editor::WorksheetJob;
using Result = editor::WorksheetOutput::Result;

constexpr const char* kTitle = "Tisk a export křížovek";
// Progress shows only for a job that would take longer than this.
constexpr int kProgressAfterMs = 400;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// Dialogs belong to the window the user works in (the print window, on top).
QWidget* dialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QString documentName(const WorksheetJob& job) {
  return q(job.title) + " – křížovky";
}

void prepare(QPrinter& printer, const WorksheetJob& job) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  // The page draws its own margins from the paper's corner.
  printer.setFullPage(true);
  printer.setDocName(documentName(job));
  printer.setCreator("Tervano");
}

QSizeF paperOf(const QPagedPaintDevice& device) {
  return device.pageLayout().fullRect(QPageLayout::Millimeter).size();
}

}  // namespace

bool WorksheetPrinter::paint(QPagedPaintDevice& device, const QSizeF& paperMm,
                             const WorksheetJob& job, int first, int last, QWidget* parent) {
  QPainter painter;
  if (!painter.begin(&device))
    throw UserError("Tiskárnu nebo soubor nelze otevřít pro kreslení stran.");
  painter.setRenderHint(QPainter::Antialiasing);
  QProgressDialog progress("Připravuji strany křížovek ...", "Zrušit", 0, last - first + 1, parent);
  progress.setWindowTitle(kTitle);
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(kProgressAfterMs);
  progress.setAutoReset(false);
  progress.setValue(0);
  for (int i = first; i <= last; ++i) {
    if (i > first) device.newPage();
    drawWorksheetPage(painter, paperMm, job, i);
    progress.setLabelText(
        QString("Připravuji stranu %1 z %2 ...").arg(i - first + 1).arg(last - first + 1));
    progress.setValue(i - first + 1);
    // Until the dialog shows, the windows still repaint; input waits for the job.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (progress.wasCanceled()) {
      if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
      painter.end();
      return false;
    }
  }
  return painter.end();
}

std::optional<QByteArray> WorksheetPrinter::pdf(const WorksheetJob& job, QWidget* parent) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setResolution(1200);
  writer.setTitle(documentName(job));
  writer.setCreator("Tervano");
  if (job.pageCount() == 0) return std::nullopt;
  if (!paint(writer, paperOf(writer), job, 0, job.pageCount() - 1, parent)) return std::nullopt;
  buffer.close();
  return bytes;
}

Result WorksheetPrinter::writePdf(const WorksheetJob& job, const std::string& path) {
  const auto bytes = pdf(job, dialogParent());
  if (!bytes) return Result::Cancelled;
  // All pages are drawn before the file is touched; it is then replaced in one step.
  writeFileAtomic(path, std::string_view(bytes->constData(), std::size_t(bytes->size())));
  return Result::Done;
}

Result WorksheetPrinter::print(const WorksheetJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  prepare(printer, job);
  QPrintDialog dialog(&printer, dialogParent());
  dialog.setWindowTitle("Tisk křížovek");
  dialog.setMinMax(1, job.pageCount());
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                    QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintShowPageSize);
  if (dialog.exec() != QDialog::Accepted) return Result::Cancelled;
  int first = 0, last = job.pageCount() - 1;
  if (printer.printRange() == QPrinter::PageRange) {
    first = std::max(0, printer.fromPage() - 1);
    last = std::min(last, printer.toPage() - 1);
  }
  if (first > last) return Result::Cancelled;
  return paint(printer, paperOf(printer), job, first, last, dialogParent()) ? Result::Done
                                                                            : Result::Cancelled;
}

Result WorksheetPrinter::preview(const WorksheetJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  prepare(printer, job);
  QPrintPreviewDialog dialog(&printer, dialogParent());
  dialog.setWindowTitle("Náhled křížovek");
  dialog.resize(900, 760);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&job, &dialog](QPrinter* p) {
    paint(*p, paperOf(*p), job, 0, job.pageCount() - 1, &dialog);
  });
  dialog.exec();
  return Result::Done;
}

}  // namespace tervano::qt
