// Worksheets as PDF, read back with poppler-utils: the delivered crossword set saved through the
// editor's window "Tisk a export křížovek" and the real printer has the pages each scope asks
// for, the pupil's page carries the heading, every clue and "Tajenka:" but no answer, the key
// carries the answers, Czech letters survive, and the picture of a page has one empty square
// for every "x" of the map, the tajenka column framed thicker.
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "data/crossword.h"
#include "data/textfile.h"
#include "editor/worksheet.h"
#include "editor_rig.h"
#include "qt/worksheet_page.h"
#include "qt/worksheet_printer.h"

namespace fs = std::filesystem;
namespace id = tervano::id;
using tervano::TextList;
using tervano::editor::WorksheetJob;

namespace {

const fs::path kTree = TERVANO_DATA_TREE;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// A poppler tool's standard output; the test fails when the tool cannot run.
QString poppler(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    qWarning("%s failed (poppler-utils is installed by scripts/deps.sh): %s", qPrintable(tool),
             p.readAllStandardError().constData());
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const std::string& pdf) {
  const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(poppler("pdfinfo", {q(pdf)}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pageText(const std::string& pdf, int page) {
  const QString n = QString::number(page);
  return poppler("pdftotext", {"-f", n, "-l", n, "-enc", "UTF-8", q(pdf), "-"});
}

QImage pagePicture(const std::string& pdf, int page, int dpi, const QString& prefix) {
  const QString n = QString::number(page);
  poppler("pdftoppm",
          {"-r", QString::number(dpi), "-f", n, "-l", n, "-singlefile", "-png", q(pdf), prefix});
  return QImage(prefix + ".png").convertToFormat(QImage::Format_Grayscale8);
}

// The words of a text in capitals, for finding whole answers.
QStringList words(const QString& text) {
  return text.toUpper().split(QRegularExpression("[^\\p{L}]+"), Qt::SkipEmptyParts);
}

// The crossword editor on a copy of the delivered set, with the real printer.
struct DeliveredSet : tervano::testing::EditorRig {
  tervano::qt::WorksheetPrinter printer;
  DeliveredSet() : EditorRig({1, 1, 1, 1}) {
    fs::remove_all(dir.root() / "tervano");
    fs::copy(kTree / "tervano", dir.root() / "tervano", fs::copy_options::recursive);
    start("-EDITOR");
    app->setWorksheetOutput(&printer);
  }
  void toggle(const char* control, int on = 1) {
    app->dispatch({tervano::app::Event::Kind::Toggle, control, {}, on});
  }
  // "Uložit PDF ..." answered with a file of the program folder; its path.
  std::string savePdf(const std::string& name) {
    host.pick(dir.path(name));
    app->click(id::kPrintPdf);
    return dir.path(name);
  }
  TextList lines(const std::string& relative) const { return dir.read(relative); }
};

// Every solution word of a crossword in capitals.
QStringList answers(const DeliveredSet& set, const std::string& folder) {
  QStringList out;
  const TextList solution = set.lines(folder + "/k.vk");
  for (const auto& line : solution.lines())
    out << q(line).remove(' ').toUpper();
  return out;
}

// The empty squares of a page: white areas framed all round, square, of a cell's size or more
// (a letter's inside is far smaller), each with its bounding box in pixels.
std::vector<QRect> emptySquares(const QImage& img) {
  const int w = img.width(), h = img.height();
  std::vector<int> seen(std::size_t(w) * std::size_t(h), 0);
  std::vector<QRect> squares;
  auto white = [&](int x, int y) { return img.constScanLine(y)[x] >= 230; };
  for (int y0 = 0; y0 < h; ++y0)
    for (int x0 = 0; x0 < w; ++x0) {
      if (seen[std::size_t(y0) * w + x0] || !white(x0, y0)) continue;
      std::vector<QPoint> stack{{x0, y0}};
      seen[std::size_t(y0) * w + x0] = 1;
      int area = 0, left = x0, right = x0, top = y0, bottom = y0;
      bool edge = false;
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        ++area;
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint n = p + d;
          if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h) {
            edge = true;
            continue;
          }
          int& s = seen[std::size_t(n.y()) * w + n.x()];
          if (!s && white(n.x(), n.y())) {
            s = 1;
            stack.push_back(n);
          }
        }
      }
      const QRect box(QPoint(left, top), QPoint(right, bottom));
      // The tajenka column's thicker frame takes a little off a cell's inside.
      const int slack = std::max(2, std::max(box.width(), box.height()) / 5);
      if (edge || box.width() < 12 || std::abs(box.width() - box.height()) > slack) continue;
      if (area >= 0.95 * box.width() * box.height()) squares.push_back(box);
    }
  return squares;
}

int xCells(const TextList& map) {
  int n = 0;
  for (const auto& line : map.lines())
    n += int(std::count(line.begin(), line.end(), 'x'));
  return n;
}

}  // namespace

class PrintPdfTest : public QObject {
  Q_OBJECT

 private slots:
  void pageCountsOfEveryScope_data() {
    QTest::addColumn<QString>("scope");
    QTest::addColumn<bool>("keys");
    QTest::addColumn<int>("pages");
    QTest::newRow("crossword") << id::kPrintScopeCrossword << false << 1;
    QTest::newRow("crossword with key") << id::kPrintScopeCrossword << true << 2;
    QTest::newRow("grade") << id::kPrintScopeGrade << false << 7;
    QTest::newRow("grade with keys") << id::kPrintScopeGrade << true << 14;
    QTest::newRow("set") << id::kPrintScopeSet << false << 28;
    QTest::newRow("set with keys") << id::kPrintScopeSet << true << 56;
  }
  void pageCountsOfEveryScope() {
    QFETCH(QString, scope);
    QFETCH(bool, keys);
    QFETCH(int, pages);
    DeliveredSet set;
    set.load("2", "4");
    set.app->click(id::kDataPrint);
    set.toggle(scope.toUtf8().constData());
    set.toggle(id::kPrintKeys, keys ? 1 : 0);
    const std::string pdf = set.savePdf("sada.pdf");
    QCOMPARE(pageCount(pdf), pages);
    QVERIFY(set.host.only({"error"}).empty());
    // The grade is the open crossword's: its first page is grade 2's first crossword.
    if (scope == id::kPrintScopeGrade) QVERIFY(pageText(pdf, 1).contains("2. ročník · Křížovka 1"));
    if (scope == id::kPrintScopeSet)
      QVERIFY(pageText(pdf, pages).contains("4. ročník · Křížovka 7"));
  }

  void pupilsPageAndKeyPage() {
    DeliveredSet set;
    set.load("1", "3");
    set.app->click(id::kDataPrint);
    set.toggle(id::kPrintKeys);
    const std::string pdf = set.savePdf("k3.pdf");
    QCOMPARE(pageCount(pdf), 2);
    const QString pupil = pageText(pdf, 1);
    const QString key = pageText(pdf, 2);
    const QString title = q(set.lines("tervano/Tervano.ini").get(0));
    for (const QString& page : {pupil, key}) {
      QVERIFY2(page.contains(title), qPrintable(page));
      QVERIFY(page.contains("1. ročník · Křížovka 3"));
      QVERIFY(page.contains("Legenda:"));
      QVERIFY(page.contains("Tajenka:"));
      QVERIFY(page.contains("Bodování: +10 za dobře zodpovězené slovo"));
      // Every clue, whole, with its number.
      const TextList legend = set.lines("tervano/r1/k3/k.lk");
      for (const auto& clue : legend.lines()) {
        const QString text = q(clue).section(' ', 1);
        QVERIFY2(page.contains(text), qPrintable(text));
      }
    }
    QVERIFY(pupil.contains("Jméno:"));
    QVERIFY(key.contains("Řešení"));
    const QStringList onPupil = words(pupil);
    const QStringList onKey = words(key);
    const QStringList solution = answers(set, "tervano/r1/k3");
    QCOMPARE(solution.size(), 6);
    for (const QString& word : solution) {
      QVERIFY2(onKey.contains(word), qPrintable(word));
      QVERIFY2(!onPupil.contains(word), qPrintable(word));
    }
    // Crossword 3 of grade 1 has one column through every word: the key spells its tajenka.
    QVERIFY(key.contains("Tajenka: ANIMAL"));
    QVERIFY(!pupil.contains("ANIMAL"));
  }

  // Letters with diacritics come out of the PDF as they went in, in the clues and, in
  // capitals, in the key.
  void czechLettersSurvive() {
    DeliveredSet set;
    set.app->click(id::kDataNew);
    set.type(id::kMapArea, "x x x\n  x x x x\nx x");
    set.type(id::kAnswerArea, "ř e ž\n  č ů ň ě\nš í");
    set.type(id::kLegendArea, "ěščřžýáíéůú\nĚŠČŘŽÝÁÍÉŮÚ kůň\nšíp");
    set.app->click(id::kDataPrint);
    set.toggle(id::kPrintKeys);
    const std::string pdf = set.savePdf("česky.pdf");
    const QString pupil = pageText(pdf, 1);
    const QString key = pageText(pdf, 2);
    QVERIFY2(pupil.contains("ěščřžýáíéůú"), qPrintable(pupil));
    QVERIFY(pupil.contains("ĚŠČŘŽÝÁÍÉŮÚ kůň"));
    QVERIFY(pupil.contains("1. ročník · Nová křížovka"));
    for (const char* word : {"ŘEŽ", "ČŮŇĚ", "ŠÍ"})
      QVERIFY2(words(key).contains(QString::fromUtf8(word)), word);
    QVERIFY(!words(pupil).contains("ŘEŽ"));
    // Only column 1 crosses every line: the tajenka reads e, č, í down it.
    QVERIFY2(key.contains("Tajenka: EČÍ"), qPrintable(key));
  }

  // The picture: one empty square for each "x" of the map, where the page says it drew the
  // cell, and one box of the line "Tajenka:" for each line with a word; the tajenka column's
  // frame is thicker than the others.
  void everyXOfTheMapIsAnEmptySquare_data() {
    QTest::addColumn<int>("grade");
    QTest::addColumn<int>("number");
    QTest::newRow("1/3, one tajenka column") << 1 << 3;
    QTest::newRow("2/1, two candidate columns") << 2 << 1;
    QTest::newRow("4/6, 31 lines made smaller") << 4 << 6;
  }
  void everyXOfTheMapIsAnEmptySquare() {
    QFETCH(int, grade);
    QFETCH(int, number);
    const tervano::ProgramFolder folder(kTree);
    std::vector<std::string> warnings;
    auto sheet = tervano::editor::readWorksheet(folder, grade, number, warnings);
    QVERIFY(sheet);
    WorksheetJob job;
    job.title = "Tervano";
    job.sheets.push_back(*sheet);

    QTemporaryDir tmp;
    const std::string pdf = (tmp.path() + "/page.pdf").toStdString();
    tervano::qt::PageGeometry g;
    {
      QPdfWriter writer(q(pdf));
      writer.setPageSize(QPageSize(QPageSize::A4));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      writer.setResolution(1200);
      QPainter painter(&writer);
      g = tervano::qt::drawWorksheetPage(painter, tervano::qt::a4(), job, 0);
    }
    const std::string dir =
        *tervano::crosswordFolder(std::to_string(grade), std::to_string(number));
    const int xs = xCells(folder.load(dir + "k.mk"));
    QCOMPARE(int(g.cells.size()), xs);

    const int dpi = 150;
    const QImage img = pagePicture(pdf, 1, dpi, tmp.path() + "/page");
    QVERIFY(!img.isNull());
    const double px = dpi / 25.4;
    auto toPixels = [px](const QRectF& mm) {
      return QRectF(mm.x() * px, mm.y() * px, mm.width() * px, mm.height() * px);
    };
    QRectF gridArea;
    for (const QRectF& c : g.cells)
      gridArea |= toPixels(c);
    int inGrid = 0, outside = 0;
    for (const QRect& s : emptySquares(img)) {
      if (gridArea.contains(QRectF(s).center())) {
        ++inGrid;
        // Where the layout put a cell.
        const bool matched = std::any_of(g.cells.begin(), g.cells.end(), [&](const QRectF& c) {
          return toPixels(c).contains(QRectF(s).center());
        });
        QVERIFY(matched);
      } else {
        ++outside;
      }
    }
    QCOMPARE(inGrid, xs);
    int words = 0;
    for (const auto& row : sheet->grid.rows)
      words += row.cells.empty() ? 0 : 1;
    QCOMPARE(outside, words);
    QCOMPARE(int(g.tajenkaBoxes.size()), words);

    // A frame's ink across a cell's left edge: about 0.8 mm for the tajenka column, 0.25 mm
    // for the others.
    auto edgeInk = [&](const QRectF& cell) {
      const QRectF r = toPixels(cell);
      const int y = int(r.center().y());
      int dark = 0;
      for (int x = int(r.left() - 6); x <= int(r.left() + 6); ++x)
        dark += img.constScanLine(y)[x] < 128 ? 1 : 0;
      return dark;
    };
    const auto taj = sheet->grid.tajenkaColumn;
    QCOMPARE(g.tajenkaCells.empty(), !taj.has_value());
    int i = 0;
    for (const auto& row : sheet->grid.rows)
      for (const auto& cell : row.cells) {
        const int ink = edgeInk(g.cells[std::size_t(i)]);
        const QString where =
            QString("line %1, column %2: %3").arg(row.number).arg(cell.column).arg(ink);
        if (taj && cell.column == *taj) {
          QVERIFY2(ink >= 3, qPrintable(where));
          QVERIFY(std::count(g.tajenkaCells.begin(), g.tajenkaCells.end(), i) == 1);
        } else if (!taj || cell.column != *taj + 1) {
          QVERIFY2(ink <= 2, qPrintable(where));  // its left edge is no tajenka's right edge
        }
        ++i;
      }
    // Nothing outside the paper's margins but the paper.
    QVERIFY(g.zoom > 0.3);
    for (const QRectF& c : g.cells)
      QVERIFY(QRectF(10, 10, 190, 277).contains(c));
  }

  // What "Tisknout ..." sends after the print dialog, here to a printer that writes a file: the
  // pages of the range chosen, laid out on the printer's whole paper.
  void aPrinterGetsThePagesOfTheChosenRange() {
    const tervano::ProgramFolder folder(kTree);
    WorksheetJob job;
    job.title = "Tervano";
    job.sheets = tervano::editor::readGrade(folder, 1).sheets;
    job.keys = true;
    QTemporaryDir tmp;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(tmp.path() + "/tisk.pdf");
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    QVERIFY(tervano::qt::WorksheetPrinter::paint(printer, tervano::qt::a4(), job, 4, 7, nullptr));
    const std::string pdf = (tmp.path() + "/tisk.pdf").toStdString();
    QCOMPARE(pageCount(pdf), 4);
    QVERIFY(pageText(pdf, 1).contains("Křížovka 3"));
    QVERIFY(pageText(pdf, 1).contains("strana 5 z 14"));
    QVERIFY(pageText(pdf, 4).contains("Řešení"));
    QVERIFY(pageText(pdf, 4).contains("strana 8 z 14"));
  }

  // "Zrušit" while the pages are drawn: the file that was there stays as it was.
  void aCancelledPdfLeavesTheFileAlone() {
    DeliveredSet set;
    set.app->click(id::kDataPrint);
    set.toggle(id::kPrintScopeSet);
    set.dir.writeBytes("stará.pdf", "%PDF-1.4 stará");
    // The progress dialog is cancelled from the event loop the drawing keeps turning.
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w)) p->cancel();
    });
    cancel.start(0);
    set.savePdf("stará.pdf");
    cancel.stop();
    QCOMPARE(set.text(id::kPrintStatus), std::string("Ukládání bylo zrušeno, soubor se nezměnil."));
    QCOMPARE(set.dir.readBytes("stará.pdf"), std::string("%PDF-1.4 stará"));
    // A folder that is not there: a Czech error box, nothing else.
    set.host.clear();
    set.savePdf("není/tu.pdf");
    const auto errors = set.host.only({"error"});
    QCOMPARE(int(errors.size()), 1);
    QVERIFY2(QString::fromStdString(errors[0]).contains("nelze uložit"), errors[0].c_str());
    QVERIFY(!set.dir.exists("není/tu.pdf"));
  }
};

QTEST_MAIN(PrintPdfTest)
#include "print_pdf_test.moc"
