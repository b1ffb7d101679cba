#pragma once

#include <QRectF>
#include <QSizeF>
#include <vector>

#include "editor/worksheet.h"

class QPainter;

namespace tervano::qt {

// Where the parts of a worksheet page landed, in millimetres from the paper's top-left corner.
struct PageGeometry {
  QSizeF paper;
  // Every grid cell, row by row and left to right as the grid lists them.
  std::vector<QRectF> cells;
  // The cells of the tajenka column among them (indices into cells).
  std::vector<int> tajenkaCells;
  // The pupil's page: the boxes of the line "Tajenka:", one per grid line with a word.
  std::vector<QRectF> tajenkaBoxes;
  double cellSize = 0;
  // 1 when the page holds everything at its normal size; below 1 when it had to shrink.
  double zoom = 1;
};

// A4 portrait, the page every output starts from.
QSizeF a4();

// Lays out page `index` of the job on a paper of the given size and draws it. The painter
// draws in device pixels with the paper's corner at (0, 0); its device's resolution gives the
// millimetre. A crossword too big for the page is made smaller to fit, never cut.
PageGeometry drawWorksheetPage(QPainter& painter, const QSizeF& paperMm,
                               const editor::WorksheetJob& job, int index);

}  // namespace tervano::qt
