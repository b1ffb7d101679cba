#include "qt/worksheet_page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <optional>

namespace tervano::qt {

namespace {

using editor::Grid;
using editor::Worksheet;
using editor::WorksheetJob;

// The page at its normal size, in millimetres and points.
constexpr double kSide = 16;  // left and right margin
constexpr double kTop = 14;
constexpr double kBottom = 11;
constexpr double kCell = 11;
// Below this (times the zoom) a cell is too small to write in: the text shrinks first.
constexpr double kMinCell = 6;
constexpr double kBox = 7.5;  // a box of the line "Tajenka:"
constexpr double kGap = 7;    // between the parts of the page
constexpr double kLegendGutter = 8;
constexpr double kThinLine = 0.25;
constexpr double kThickLine = 0.8;
constexpr double kTitlePt = 15;
constexpr double kSubtitlePt = 11;
constexpr double kTextPt = 11;
constexpr double kNumberPt = 9;
constexpr double kFooterPt = 8;
// The smallest zoom tried: even 150 lines of legend fit at it.
constexpr double kMinZoom = 0.3;

constexpr double kPointsPerMm = 72.0 / 25.4;

const QColor kInk(0, 0, 0);
const QColor kGrey(90, 90, 90);
const QColor kRule(150, 150, 150);

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// "+10", "−5", "0", or "?" for a value that is not a number.
QString signedPoints(const std::optional<int>& value, bool gain) {
  if (!value) return "?";
  if (*value == 0) return "0";
  const bool plus = (*value > 0) == gain;
  return (plus ? QString("+") : QString("−")) + QString::number(std::abs(qint64{*value}));
}

// A piece of text in one weight; a line of the legend is a few of them, broken at blanks.
struct Run {
  QString text;
  bool bold = false;
};
struct Token {
  QString text;
  bool bold = false;
  double width = 0;
  bool blank = false;
};
using Line = std::vector<Token>;

// A clue with its number apart, so that its wrapped lines start under its text.
struct Entry {
  QString number;
  std::vector<Run> runs;
  std::vector<Line> lines;  // after wrapping
};

class PagePainter {
 public:
  PagePainter(QPainter& p, const QSizeF& paper, const WorksheetJob& job, int index)
      : p_(p),
        paper_(paper),
        job_(job),
        page_(job.page(index)),
        sheet_(*page_.sheet),
        index_(index),
        px_(p.device()->logicalDpiX() / 25.4),
        width_(paper.width() - 2 * kSide) {}

  PageGeometry draw();

 private:
  QFont font(double pt, bool bold = false) const;
  double textWidth(const QFont& f, const QString& text) const;
  double lineHeight(const QFont& f) const;
  QRectF device(const QRectF& mm) const;
  QPointF device(double x, double y) const { return {x * px_, y * px_}; }
  void text(const QFont& f, const QColor& color, const QRectF& mm, int flags, const QString& s);
  void line(double x1, double y1, double x2, double y2, double widthMm, const QColor& c);

  // The parts' heights and the wrapped legend for a zoom and a number of legend columns.
  double headingHeight() const;
  double footerHeight() const;
  double tajenkaHeight() const;
  double legendHeight(int columns);
  double legendNumberWidth() const;
  double legendColumnWidth(int columns) const;
  // The legend column of each entry; `tallest` gets the most lines a column holds.
  std::vector<int> distribute(int columns, int& tallest) const;
  double numberWidth() const;
  // The grid's height in cells: none for a map without cells.
  int gridRows() const {
    return sheet_.grid.cellCount() > 0 ? static_cast<int>(sheet_.grid.rows.size()) : 0;
  }
  // The widest cell the page's width allows.
  double widthLimit() const;
  // Sets the zoom and legend columns; the cell size at which everything fits, if any.
  std::optional<double> fit(double zoom, int columns);
  std::vector<Line> wrap(const std::vector<Run>& runs, double width) const;

  double drawHeading();
  void drawGrid(double top, PageGeometry& g);
  double drawLegend(double top);
  void drawTajenka(double top, PageGeometry& g);
  void drawFooter();

  QPainter& p_;
  QSizeF paper_;
  const WorksheetJob& job_;
  WorksheetJob::Page page_;
  const Worksheet& sheet_;
  int index_;
  double px_;  // device pixels per millimetre
  double width_;
  double zoom_ = 1;
  double cell_ = kCell;
  int columns_ = 1;
  std::vector<Entry> entries_;
};

QFont PagePainter::font(double pt, bool bold) const {
  QFont f("DejaVu Sans");
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(pt);
  f.setBold(bold);
  // The same advance widths at every resolution: measured text then fits where it is drawn.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

double PagePainter::textWidth(const QFont& f, const QString& s) const {
  return QFontMetricsF(f, p_.device()).horizontalAdvance(s) / px_;
}

double PagePainter::lineHeight(const QFont& f) const {
  return QFontMetricsF(f, p_.device()).lineSpacing() / px_;
}

QRectF PagePainter::device(const QRectF& mm) const {
  return {mm.x() * px_, mm.y() * px_, mm.width() * px_, mm.height() * px_};
}

void PagePainter::text(const QFont& f, const QColor& color, const QRectF& mm, int flags,
                       const QString& s) {
  p_.setFont(f);
  p_.setPen(color);
  p_.drawText(device(mm), flags, s);
}

void PagePainter::line(double x1, double y1, double x2, double y2, double widthMm,
                       const QColor& c) {
  QPen pen(c);
  pen.setWidthF(widthMm * px_);
  pen.setCapStyle(Qt::SquareCap);
  p_.setPen(pen);
  p_.drawLine(device(x1, y1), device(x2, y2));
}

double PagePainter::headingHeight() const {
  return lineHeight(font(kTitlePt * zoom_, true)) + lineHeight(font(kSubtitlePt * zoom_)) +
         4 * zoom_;
}

double PagePainter::footerHeight() const {
  return lineHeight(font(kFooterPt)) + 2;
}

double PagePainter::tajenkaHeight() const {
  if (sheet_.grid.cellCount() == 0) return 0;
  return std::max(kBox * zoom_, lineHeight(font(kSubtitlePt * zoom_, true)));
}

double PagePainter::widthLimit() const {
  const int columns = sheet_.grid.columns;
  return columns > 0 ? (width_ - numberWidth()) / columns : kCell;
}

std::optional<double> PagePainter::fit(double zoom, int columns) {
  zoom_ = zoom;
  columns_ = columns;
  const int rows = gridRows();
  const double usable = paper_.height() - kTop - kBottom - footerHeight() - 4;
  // Heading, gap, grid, gap, legend, gap, the line "Tajenka:".
  const double fixed =
      headingHeight() + (rows > 0 ? 3 : 2) * kGap * zoom_ + legendHeight(columns) + tajenkaHeight();
  double cell = std::min(kCell * zoom_, widthLimit());
  if (rows > 0) cell = std::min(cell, (usable - fixed) / rows);
  if (cell <= 0 || fixed + rows * cell > usable + 1e-6) return std::nullopt;
  cell_ = cell;
  return cell;
}

double PagePainter::numberWidth() const {
  const QFont f = font(kNumberPt * zoom_);
  double w = 0;
  for (const auto& row : sheet_.grid.rows)
    if (!row.cells.empty()) w = std::max(w, textWidth(f, QString::number(row.number) + "."));
  return w + 1.5 * zoom_;
}

std::vector<Line> PagePainter::wrap(const std::vector<Run>& runs, double width) const {
  std::vector<Token> tokens;
  for (const Run& run : runs) {
    const QFont f = font(kTextPt * zoom_, run.bold);
    QString word;
    auto flush = [&] {
      if (word.isEmpty()) return;
      // A word wider than the column is broken where it must be: nothing is cut off.
      QString piece;
      for (const QChar c : word) {
        if (!piece.isEmpty() && textWidth(f, piece + c) > width) {
          tokens.push_back({piece, run.bold, textWidth(f, piece), false});
          piece.clear();
        }
        piece += c;
      }
      tokens.push_back({piece, run.bold, textWidth(f, piece), false});
      word.clear();
    };
    for (const QChar c : run.text) {
      if (c == ' ') {
        flush();
        tokens.push_back({" ", run.bold, textWidth(f, " "), true});
      } else {
        word += c;
      }
    }
    flush();
  }
  std::vector<Line> lines(1);
  double used = 0;
  for (const Token& t : tokens) {
    if (t.blank && lines.back().empty()) continue;
    if (!t.blank && !lines.back().empty() && used + t.width > width) {
      while (!lines.back().empty() && lines.back().back().blank)
        lines.back().pop_back();
      lines.emplace_back();
      used = 0;
    }
    lines.back().push_back(t);
    used += t.width;
  }
  return lines;
}

double PagePainter::legendNumberWidth() const {
  const QFont regular = font(kTextPt * zoom_);
  double w = 0;
  for (const Entry& e : entries_)
    w = std::max(w, textWidth(regular, e.number));
  return w;
}

double PagePainter::legendColumnWidth(int columns) const {
  return (width_ - (columns - 1) * kLegendGutter * zoom_) / columns;
}

std::vector<int> PagePainter::distribute(int columns, int& tallest) const {
  // The entries fill the first column, then the next; an entry is never split.
  int lines = 0;
  for (const Entry& e : entries_)
    lines += static_cast<int>(e.lines.size());
  const int perColumn = (lines + columns - 1) / columns;
  std::vector<int> columnOf;
  int column = 0, inColumn = 0;
  tallest = 0;
  for (const Entry& e : entries_) {
    const int n = static_cast<int>(e.lines.size());
    if (inColumn > 0 && inColumn + n > perColumn && column + 1 < columns) {
      ++column;
      inColumn = 0;
    }
    columnOf.push_back(column);
    inColumn += n;
    tallest = std::max(tallest, inColumn);
  }
  return columnOf;
}

double PagePainter::legendHeight(int columns) {
  const double textW = legendColumnWidth(columns) - legendNumberWidth() - 1.5 * zoom_;
  for (Entry& e : entries_)
    e.lines = wrap(e.runs, textW);
  int tallest = 0;
  distribute(columns, tallest);
  return lineHeight(font(kTextPt * zoom_, true)) + 1.5 * zoom_ +
         tallest * lineHeight(font(kTextPt * zoom_));
}

double PagePainter::drawHeading() {
  const QFont title = font(kTitlePt * zoom_, true);
  const QFont subtitle = font(kSubtitlePt * zoom_);
  const double titleH = lineHeight(title);
  const double subtitleH = lineHeight(subtitle);
  double y = kTop;

  // On the right: where the pupil writes the name, or that this is the key.
  QString right = page_.key ? QString("Řešení") : QString("Jméno:");
  const QFont rightFont = font(kSubtitlePt * zoom_, page_.key);
  const double nameLine = page_.key ? 0 : 55 * zoom_;
  const double rightW = textWidth(rightFont, right) + (page_.key ? 0 : 2 * zoom_) + nameLine;
  const double rightX = kSide + width_ - rightW;
  text(rightFont, page_.key ? kInk : kGrey, QRectF(rightX, y, rightW, titleH),
       Qt::AlignLeft | Qt::AlignBottom, right);
  if (!page_.key) {
    const QFontMetricsF m(rightFont, p_.device());
    const double baseline = y + titleH - m.descent() / px_;
    line(kSide + width_ - nameLine, baseline, kSide + width_, baseline, kThinLine, kGrey);
  }

  // The set's name takes the rest of the line; a very long one gets smaller, then elided.
  const double titleW = rightX - kSide - 4 * zoom_;
  QFont t = title;
  QString name = q(job_.title);
  while (textWidth(t, name) > titleW && t.pointSizeF() > 9 * zoom_)
    t.setPointSizeF(t.pointSizeF() - 0.5);
  name = QFontMetricsF(t, p_.device()).elidedText(name, Qt::ElideRight, titleW * px_);
  text(t, kInk, QRectF(kSide, y, titleW, titleH), Qt::AlignLeft | Qt::AlignBottom, name);
  y += titleH;
  text(subtitle, kGrey, QRectF(kSide, y, width_, subtitleH), Qt::AlignLeft | Qt::AlignVCenter,
       q(sheet_.heading()));
  y += subtitleH + 1.5 * zoom_;
  line(kSide, y, kSide + width_, y, 0.35, kRule);
  return y + 2.5 * zoom_;
}

void PagePainter::drawGrid(double top, PageGeometry& g) {
  const Grid& grid = sheet_.grid;
  if (grid.cellCount() == 0) return;
  const double numberW = numberWidth();
  const double blockW = numberW + grid.columns * cell_;
  const double left = kSide + (width_ - blockW) / 2 + numberW;
  const QFont number = font(kNumberPt * zoom_);
  // The key's letters fill about 3/5 of a cell.
  const QFont letter = font(cell_ * 0.58 * kPointsPerMm, true);
  const std::optional<int> taj = grid.tajenkaColumn;
  auto inTajenka = [&](int row, int column) {
    return taj && column == *taj && grid.cellAt(row, column) != nullptr;
  };

  for (int r = 0; r < static_cast<int>(grid.rows.size()); ++r) {
    const auto& row = grid.rows[static_cast<std::size_t>(r)];
    if (row.cells.empty()) continue;
    const double y = top + r * cell_;
    const double firstX = left + row.cells.front().column * cell_;
    text(number, kGrey, QRectF(firstX - numberW, y, numberW - 1.5 * zoom_, cell_),
         Qt::AlignRight | Qt::AlignVCenter, QString::number(row.number) + ".");
    for (const auto& cell : row.cells) {
      const QRectF r2(left + cell.column * cell_, y, cell_, cell_);
      if (inTajenka(r, cell.column)) g.tajenkaCells.push_back(static_cast<int>(g.cells.size()));
      g.cells.push_back(r2);
      if (page_.key && !cell.letter.empty())
        text(letter, kInk, r2, Qt::AlignCenter, q(cell.letter));
    }
  }
  // Thin frames first, the tajenka column's outline over them.
  for (const QRectF& c : g.cells) {
    QPen pen(kInk);
    pen.setWidthF(kThinLine * px_);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(device(c));
  }
  if (!taj) return;
  const double x = left + *taj * cell_;
  for (int r = 0; r < static_cast<int>(grid.rows.size()); ++r) {
    if (!inTajenka(r, *taj)) continue;
    const double y = top + r * cell_;
    line(x, y, x, y + cell_, kThickLine, kInk);
    line(x + cell_, y, x + cell_, y + cell_, kThickLine, kInk);
    if (!inTajenka(r - 1, *taj)) line(x, y, x + cell_, y, kThickLine, kInk);
    if (!inTajenka(r + 1, *taj)) line(x, y + cell_, x + cell_, y + cell_, kThickLine, kInk);
  }
}

double PagePainter::drawLegend(double top) {
  const QFont caption = font(kTextPt * zoom_, true);
  text(caption, kInk, QRectF(kSide, top, width_, lineHeight(caption)),
       Qt::AlignLeft | Qt::AlignVCenter, "Legenda:");
  const double y0 = top + lineHeight(caption) + 1.5 * zoom_;
  const QFont regular = font(kTextPt * zoom_);
  const QFont bold = font(kTextPt * zoom_, true);
  const double lineH = lineHeight(regular);
  const double numberW = legendNumberWidth();
  const double columnW = legendColumnWidth(columns_);
  int tallest = 0;
  const std::vector<int> columnOf = distribute(columns_, tallest);
  std::vector<double> ys(static_cast<std::size_t>(columns_), y0);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    const int column = columnOf[i];
    const double x = kSide + column * (columnW + kLegendGutter * zoom_);
    double& y = ys[static_cast<std::size_t>(column)];
    text(regular, kInk, QRectF(x, y, numberW, lineH), Qt::AlignRight | Qt::AlignVCenter, e.number);
    for (const Line& l : e.lines) {
      double cx = x + numberW + 1.5 * zoom_;
      for (const Token& t : l) {
        text(t.bold ? bold : regular, kInk, QRectF(cx, y, t.width + 1, lineH),
             Qt::AlignLeft | Qt::AlignVCenter, t.text);
        cx += t.width;
      }
      y += lineH;
    }
  }
  return y0 + tallest * lineH;
}

void PagePainter::drawTajenka(double top, PageGeometry& g) {
  const Grid& grid = sheet_.grid;
  if (grid.cellCount() == 0) return;
  const QFont label = font(kSubtitlePt * zoom_, true);
  const double h = tajenkaHeight();
  const double labelW = textWidth(label, "Tajenka:");
  text(label, kInk, QRectF(kSide, top, labelW + 1, h), Qt::AlignLeft | Qt::AlignVCenter,
       "Tajenka:");
  const double x0 = kSide + labelW + 3 * zoom_;
  if (page_.key) {
    const auto phrase = grid.tajenka();
    if (phrase)
      text(label, kInk, QRectF(x0, top, width_ - (x0 - kSide), h), Qt::AlignLeft | Qt::AlignVCenter,
           q(*phrase).trimmed());
    else
      text(font(kTextPt * zoom_), kGrey, QRectF(x0, top, width_ - (x0 - kSide), h),
           Qt::AlignLeft | Qt::AlignVCenter, "z mapy nelze určit jediný sloupec tajenky");
    return;
  }
  const int rows = static_cast<int>(grid.rows.size());
  const double box = std::min(kBox * zoom_, (width_ - (x0 - kSide)) / std::max(1, rows));
  QPen pen(kInk);
  pen.setWidthF(0.35 * px_);
  p_.setPen(pen);
  p_.setBrush(Qt::NoBrush);
  for (int r = 0; r < rows; ++r) {
    // A line without a word is a blank of the tajenka: a space, no box.
    if (grid.rows[static_cast<std::size_t>(r)].cells.empty()) continue;
    const QRectF b(x0 + r * box, top + (h - box) / 2, box, box);
    g.tajenkaBoxes.push_back(b);
    p_.drawRect(device(b));
  }
}

void PagePainter::drawFooter() {
  const auto& s = sheet_.scoring;
  QString scoring = "Bodování: " + signedPoints(s.pointsPerGood, true) +
                    " za dobře zodpovězené slovo, " + signedPoints(s.pointsPerBad, false) +
                    " za špatně zodpovězené slovo, " + signedPoints(s.goodTajenka, true) +
                    " za tajenku";
  if (!s.badTajenka || *s.badTajenka != 0)
    scoring += " (" + signedPoints(s.badTajenka, false) + " při chybě)";
  const QString pageNo = QString("strana %1 z %2").arg(index_ + 1).arg(job_.pageCount());
  QFont f = font(kFooterPt);
  const double h = lineHeight(f);
  const double y = paper_.height() - kBottom - h;
  line(kSide, y - 1.5, kSide + width_, y - 1.5, kThinLine, kRule);
  const double pageW = textWidth(f, pageNo);
  text(f, kGrey, QRectF(kSide + width_ - pageW - 1, y, pageW + 1, h),
       Qt::AlignRight | Qt::AlignVCenter, pageNo);
  const double room = width_ - pageW - 6;
  while (textWidth(f, scoring) > room && f.pointSizeF() > 5)
    f.setPointSizeF(f.pointSizeF() - 0.25);
  text(f, kGrey, QRectF(kSide, y, room, h), Qt::AlignLeft | Qt::AlignVCenter, scoring);
}

PageGeometry PagePainter::draw() {
  // The legend as it is drawn: on the key each clue is followed by its answer.
  for (std::size_t i = 0; i < sheet_.clues.size(); ++i) {
    const QString clue = q(sheet_.clues[i]);
    const int dot = clue.indexOf('.');
    Entry e;
    e.number = clue.left(dot + 1);
    e.runs.push_back({clue.mid(dot + 1).trimmed(), false});
    const auto& rows = sheet_.grid.rows;
    if (page_.key && i < rows.size() && !rows[i].answer.empty()) {
      e.runs.push_back({QString(" – "), false});
      e.runs.push_back({q(rows[i].answer), true});
    }
    entries_.push_back(std::move(e));
  }

  const int rows = gridRows();
  const int mostColumns = entries_.size() > 3 ? 2 : 1;
  // The largest zoom, and at it one legend column before two, at which every part fits and a
  // cell stays big enough to write in; at the smallest zoom whatever fits.
  bool placed = false;
  for (int step = 0; !placed; ++step) {
    const double zoom = std::max(kMinZoom, 1 - 0.05 * step);
    const bool last = zoom <= kMinZoom;
    for (int columns = 1; columns <= mostColumns && !placed; ++columns) {
      const auto cell = fit(zoom, columns);
      placed = cell && (*cell >= std::min(kMinCell * zoom, widthLimit()) - 1e-6 || last);
    }
    // Nothing fits even there (no map of the size limits gets here): the smallest layout.
    if (last && !placed) {
      placed = true;
      zoom_ = kMinZoom;
      columns_ = mostColumns;
      legendHeight(columns_);
      cell_ = std::min(kCell * zoom_, widthLimit());
    }
  }

  PageGeometry g;
  g.paper = paper_;
  g.zoom = zoom_;
  g.cellSize = cell_;
  double y = drawHeading() + kGap * zoom_;
  drawGrid(y, g);
  if (rows > 0) y += rows * cell_ + kGap * zoom_;
  y = drawLegend(y) + kGap * zoom_;
  drawTajenka(y, g);
  drawFooter();
  return g;
}

}  // namespace

QSizeF a4() {
  return {210, 297};
}

PageGeometry drawWorksheetPage(QPainter& painter, const QSizeF& paperMm, const WorksheetJob& job,
                               int index) {
  PagePainter page(painter, paperMm, job, index);
  return page.draw();
}

}  // namespace tervano::qt
