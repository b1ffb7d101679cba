#pragma once

#include <QByteArray>
#include <QSizeF>

#include "editor/worksheet.h"

class QPagedPaintDevice;
class QWidget;

namespace tervano::qt {

// Worksheets on paper and in PDF through Qt Print Support: the system's print dialog and CUPS,
// Qt's print preview, and QPdfWriter. Pages are drawn one by one on the user-interface thread;
// a job longer than a moment shows its progress with "Zrušit", and the windows keep repainting
// between pages.
class WorksheetPrinter : public editor::WorksheetOutput {
 public:
  Result print(const editor::WorksheetJob& job) override;
  Result preview(const editor::WorksheetJob& job) override;
  Result writePdf(const editor::WorksheetJob& job, const std::string& path) override;

  // The job as PDF bytes (A4, fonts embedded); nothing when cancelled.
  static std::optional<QByteArray> pdf(const editor::WorksheetJob& job, QWidget* parent);
  // Draws pages first to last (from 0) of the job on a paged device whose painter starts at the
  // paper's corner, with the progress dialog; false when the user cancelled.
  static bool paint(QPagedPaintDevice& device, const QSizeF& paperMm,
                    const editor::WorksheetJob& job, int first, int last, QWidget* parent);
};

}  // namespace tervano::qt
