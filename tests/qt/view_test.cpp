// The Qt view drives the application only through dispatch and shows only the model: each case
// works a real widget and checks the model, or changes the model and checks the widget.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "program_folder.h"
#include "program_window.h"
#include "qt/main_window.h"
#include "qt/qt_host.h"
#include "qt/side_windows.h"
#include "qt/widgets.h"
#include "ui/ids.h"

using tervano::app::Event;
using tervano::qt::MainWindow;
using tervano::testing::Rig;
namespace id = tervano::id;

namespace {

// How long a case waits for the event loop to bring what must come (a timer's tick, the file
// dialog's listing): only a limit that keeps a broken view from hanging the test, no measure of
// speed on a machine that may be busy.
constexpr int kPatienceMs = 60000;

// The program's window with what these cases read and do besides: labels, the model, the pointer
// and typed keys.
struct Program : ProgramWindow {
  using ProgramWindow::ProgramWindow;
  QString shownText(const char* controlId) const { return widget<QLabel>(controlId)->text(); }
  const tervano::ui::Controls& model() const { return rig.app->controls(); }
  // Moves the pointer into the middle of a widget.
  void pointAt(QWidget* w, QPoint at = {}) {
    QTest::mouseMove(w, at.isNull() ? w->rect().center() : at);
    QApplication::processEvents();
  }
  void enter(QWidget* w) {
    const QPointF local = QRectF(w->rect()).center();
    QEnterEvent e(local, w->mapTo(w->window(), local), w->mapToGlobal(local));
    QApplication::sendEvent(w, &e);
  }
  void type(QWidget* w, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
  }
};

}  // namespace

class ViewTest : public QObject {
  Q_OBJECT

 private slots:
  // "Kontrola" checks the crossword and the counters on screen follow: 2 right lines at 10 points
  // each and the tajenka bonus of 20.
  void kontrolaScoresAndUpdatesTheCounters() {
    Program p;
    QVERIFY(p.shown());
    auto* answers = p.widget<QPlainTextEdit>(id::kAnswerArea);
    QVERIFY(answers);
    QCOMPARE(answers->toPlainText(), QString("x x x\nx x x"));
    answers->setFocus();
    answers->selectAll();
    QTest::keyClicks(answers, "c a t");
    QTest::keyClick(answers, Qt::Key_Return);
    QTest::keyClicks(answers, "d o g");
    QCOMPARE(p.model().lines(id::kAnswerArea).get(1), std::string("d o g"));

    QTest::mouseClick(p.widget<QAbstractButton>(id::kKontrola), Qt::LeftButton);
    QCOMPARE(p.shownText(id::kPoints), QString("40"));
    QCOMPARE(p.shownText(id::kGood), QString("2"));
    QCOMPARE(p.shownText(id::kBad), QString("0"));
    QCOMPARE(p.shownText(id::kCrossword), QString("2"));
    // The next crossword's map is the new answer area.
    QCOMPARE(answers->toPlainText(), QString("x x x\nx x x"));
    QCOMPARE(p.rig.host.only({"info"}), std::vector<std::string>{"info: Vše jste měl bez chyby."});
  }

  // A shortcut reaches the model through the window's action; with no game, Ctrl+F1 starts one.
  void ctrlF1StartsANewGame() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    p.window->dispatch({Event::Kind::Click, id::kEndGame});  // both questions answered OK
    QVERIFY(p.model().enabled(id::kNewGame));
    QVERIFY(p.window->control(id::kMenuScreen)->isVisible());

    QTest::keyClick(p.window.get(), Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(p.count(Event::Kind::Key, "Ctrl+F1"), 1);
    QVERIFY(!p.model().enabled(id::kNewGame));
    QVERIFY(!p.window->control(id::kMenuScreen)->isVisible());
    QVERIFY(p.widget(id::kSaveGame)->isEnabled());
    QCOMPARE(p.shownText(id::kPoints), QString("0"));
  }

  // Set selection disables every shortcut: the key never reaches the application.
  void disabledShortcutsSendNothing() {
    Program p("-SADA");
    QVERIFY(p.shown());
    QVERIFY(p.window->control(id::kSetPanel)->isVisible());
    QVERIFY(p.widget(id::kSetPanelMainApp)->isVisible());
    QVERIFY(!p.window->control(id::kAutosavePanelMainApp));  // not a screen of this mode
    QTest::keyClick(p.window.get(), Qt::Key_F1);
    QTest::keyClick(p.window.get(), Qt::Key_F2);
    QCOMPARE(p.count(Event::Kind::Key, "F1") + p.count(Event::Kind::Key, "F2"), 0);
    QVERIFY(!p.window->helpWindow()->isVisible());
  }

  // Only what the model shows is built before the window appears; the rest follows its first
  // paint, and a hidden part the model opens early is built on demand.
  void hiddenPartsAreBuiltLater() {
    Program p("-SADA");
    QVERIFY(p.window->control(id::kSetPanel));
    QVERIFY(!p.window->control(id::kCatGame));
    QVERIFY(!p.window->helpWindow());
    // Widgets appearing under the pointer while they are built are not reported as hovered.
    QCOMPARE(p.count(Event::Kind::Hover, id::kSetPanel), 0);
    p.rig.app->controls().setVisible(id::kAboutWindow, true);
    p.window->sync();
    QVERIFY(p.window->aboutWindow() && p.window->aboutWindow()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(p.window->control(id::kCatGame), kPatienceMs);
    // The tools take the whole window in set selection: the menu screen stays under them.
    QVERIFY(p.window->control(id::kSetPanel)
                ->geometry()
                .contains(p.window->control(id::kMenuScreen)->geometry()));
    QVERIFY(p.window->childAt(300, 450) != p.window->control(id::kTitle));
    // A screen built late shows all of its widgets once the model shows it.
    p.rig.app->controls().setVisible(id::kSetPanel, false);
    p.window->sync();
    QVERIFY(p.window->control(id::kPoints)->isVisible());
    QLabel* caption = nullptr;
    for (auto* l : p.window->playScreen()->findChildren<QLabel*>())
      if (l->text() == "Body:") caption = l;
    QVERIFY(caption && caption->isVisible());
  }

  // The pointer over a category button opens its panel and closes the others.
  void hoverOpensPanels() {
    Program p;
    QVERIFY(p.shown());
    QTest::mouseClick(p.widget<QAbstractButton>(id::kShowMenu), Qt::LeftButton);
    QVERIFY(p.widget(id::kCatGame)->isVisible());

    p.pointAt(p.widget(id::kCatGame));
    QVERIFY(p.count(Event::Kind::Hover, id::kCatGame) >= 1);
    QVERIFY(p.widget(id::kPanelGame)->isVisible());
    QVERIFY(p.widget(id::kNewGame)->isVisible());

    p.pointAt(p.widget(id::kCatHelp));
    QVERIFY(!p.widget(id::kPanelGame)->isVisible());
    QVERIFY(p.widget(id::kPanelHelp)->isVisible());

    // The title closes every command panel.
    p.pointAt(p.widget(id::kTitle));
    QVERIFY(!p.widget(id::kPanelHelp)->isVisible());
  }

  // A press on a category button acts as the pointer over it.
  void pressOnACategoryIsReported() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    QTest::mousePress(p.widget(id::kCatSettings), Qt::LeftButton);
    QCOMPARE(p.count(Event::Kind::Press, id::kCatSettings), 1);
    QVERIFY(p.widget(id::kPanelSettings)->isVisible());
    QTest::mouseRelease(p.widget(id::kCatSettings), Qt::LeftButton);
  }

  // Every movement over the autosave settings panel is reported, so each one stores the settings.
  void autosavePanelReportsEveryMove() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    p.pointAt(p.widget(id::kCatSettings));
    p.pointAt(p.widget(id::kAutosaveButton));
    QWidget* panel = p.widget(id::kPanelAutosave);
    QVERIFY(panel->isVisible());
    // The panel touches its button: the pointer never crosses anything else on its way.
    const QPoint buttonLeft = p.widget(id::kAutosaveButton)->mapTo(p.window.get(), QPoint(0, 0));
    QCOMPARE(panel->geometry().right() + 1, buttonLeft.x());

    const int before = p.count(Event::Kind::Hover, id::kPanelAutosave);
    p.pointAt(panel, QPoint(300, 5));
    p.pointAt(panel, QPoint(310, 5));
    p.pointAt(panel, QPoint(320, 5));
    QCOMPARE(p.count(Event::Kind::Hover, id::kPanelAutosave) - before, 3);
    // The "Ano" box is a control of its own, not the panel.
    p.pointAt(p.widget(id::kAutosaveOn));
    QCOMPARE(p.count(Event::Kind::Hover, id::kPanelAutosave) - before, 3);
  }

  // A change of the model re-enables a widget: the Kontrola timer, mirrored by a QTimer, enables
  // "Kontrola" again within its second.
  void modelChangeReenablesAWidget() {
    Program p;
    QVERIFY(p.shown());
    auto* kontrola = p.widget(id::kKontrola);
    QVERIFY(kontrola->isEnabled());
    p.rig.app->controls().setEnabled(id::kKontrola, false);
    p.window->sync();
    QVERIFY(!kontrola->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(kontrola->isEnabled(), kPatienceMs);
    QVERIFY(p.count(Event::Kind::Tick, id::kTimerKontrola) >= 1);
  }

  // Typing reaches the model at once; a character code page 1250 cannot hold is refused at the
  // keyboard and in a paste, Czech letters pass.
  void answerAreaRefusesWhatCannotBeSaved() {
    Program p;
    QVERIFY(p.shown());
    auto* answers = p.widget<tervano::qt::TextArea>(id::kAnswerArea);
    answers->setFocus();
    answers->selectAll();
    p.type(answers, "ř");
    p.type(answers, "ж");
    p.type(answers, "€");
    QCOMPARE(answers->toPlainText(), QString("ř€"));
    QCOMPARE(p.model().lines(id::kAnswerArea).get(0), std::string("ř€"));
    QCOMPARE(answers->refusals(), 1);

    QApplication::clipboard()->setText("aж☃b");
    answers->paste();
    QCOMPARE(p.model().lines(id::kAnswerArea).get(0), std::string("ř€ab"));
    QCOMPARE(answers->refusals(), 2);
  }

  // When the model rewrites the lines (the check lower-cases them) the area follows without
  // sending the text back, and the cursor stays where it was.
  void modelLinesReplaceTheTextWithoutAnEcho() {
    Program p;
    QVERIFY(p.shown());
    auto* answers = p.widget<QPlainTextEdit>(id::kAnswerArea);
    answers->setFocus();
    answers->selectAll();
    QTest::keyClicks(answers, "C A T");
    QTest::keyClick(answers, Qt::Key_Return);
    QTest::keyClicks(answers, "D O G");
    QTextCursor c = answers->textCursor();
    c.setPosition(8);  // line 2, column 2
    answers->setTextCursor(c);
    const int edits = p.count(Event::Kind::Edit, id::kAnswerArea);

    p.rig.app->controls().setLines(id::kAnswerArea, tervano::TextList{"c a t", "d o g"});
    p.window->sync();
    QCOMPARE(answers->toPlainText(), QString("c a t\nd o g"));
    QCOMPARE(answers->textCursor().position(), 8);
    QCOMPARE(p.count(Event::Kind::Edit, id::kAnswerArea), edits);
  }

  // Help: F1 opens the help window over a disabled main window; a double click enlarges the
  // advice; closing the window by the window manager gives the main window back.
  void helpWindowFollowsTheModel() {
    Program p;
    QVERIFY(p.shown());
    QTest::keyClick(p.window.get(), Qt::Key_F1);
    auto* help = p.window->helpWindow();
    QVERIFY(help->isVisible());
    QVERIFY(!p.window->isEnabled());

    auto* advice = p.widget<QPlainTextEdit>(id::kHelpAdvice);
    QCOMPARE(advice->toPlainText().split('\n').first(), QString("Jakým stylem máte psát?"));
    const int normalHeight = advice->height();
    QTest::mouseDClick(advice->viewport(), Qt::LeftButton);
    QVERIFY(p.model().checked(id::kHelpAdvice));
    QVERIFY(advice->height() > normalHeight);
    QCOMPARE(p.shownText(id::kHelpPageTitle), QString("Pár rad"));

    help->close();
    QCOMPARE(p.count(Event::Kind::HelpClosed, ""), 1);
    QVERIFY(!help->isVisible());
    QVERIFY(p.window->isEnabled());
  }

  // The settings panel: a click on a switch picture swaps the pictures; a click on a check box's
  // caption ticks the box on screen.
  void settingsPicturesAndCaptions() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    p.pointAt(p.widget(id::kCatSettings));
    QVERIFY(p.widget(id::kSoundOnPic)->isVisible());
    QVERIFY(!p.widget(id::kSoundOffPic)->isVisible());
    QTest::mouseClick(p.widget(id::kSoundOnPic), Qt::LeftButton);
    QVERIFY(!p.widget(id::kSoundOnPic)->isVisible());
    QVERIFY(p.widget(id::kSoundOffPic)->isVisible());

    auto* box = p.widget<QCheckBox>(id::kErrorPerLine);
    QVERIFY(!box->isChecked());
    QTest::mouseClick(p.widget(id::kErrorPerLineCaption), Qt::LeftButton);
    QVERIFY(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!p.model().checked(id::kErrorPerLine));
    // The overwrite question can never be changed.
    QVERIFY(!p.widget(id::kAskOverwrite)->isEnabled());
    QVERIFY(p.widget<QCheckBox>(id::kAskOverwrite)->isChecked());
  }

  // The chooser: choosing a grade loads that grade's crosswords into the second box.
  void chooserListsFollowTheGrade() {
    Program p;
    QVERIFY(p.shown());
    p.rig.app->chooser().open(tervano::app::kChooserTitleGame);
    p.window->sync();
    QVERIFY(p.window->chooserWindow()->isVisible());
    auto* grade = p.widget<QComboBox>(id::kChooserGrade);
    auto* crossword = p.widget<QComboBox>(id::kChooserCrossword);
    QCOMPARE(grade->count(), 4);
    grade->setFocus();
    grade->setCurrentIndex(0);
    QTest::keyClick(grade, Qt::Key_Down);
    QCOMPARE(p.count(Event::Kind::Select, id::kChooserGrade), 1);
    QCOMPARE(p.model().text(id::kChooserGrade), std::string("2"));
    QCOMPARE(crossword->count(), 3);
    QCOMPARE(crossword->currentText(), QString("<Neznámo>"));
    QTest::mouseClick(p.widget<QAbstractButton>(id::kChooserBack), Qt::LeftButton);
    QVERIFY(!p.window->chooserWindow()->isVisible());
  }

  // The credits scroll by the model's 20 ms timer; "X" stops them.
  void creditsScrollAndClose() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    QTest::keyClick(p.window.get(), Qt::Key_F3);
    QWidget* caption = p.widget(id::kCreditsCaption);
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->y(), 32);
    QTRY_VERIFY_WITH_TIMEOUT(caption->y() > 36, kPatienceMs);
    QTest::mouseClick(p.widget(id::kCreditsClose), Qt::LeftButton);
    QVERIFY(!p.widget(id::kPanelCredits)->isVisible());
    QVERIFY(!p.model().timerRunning(id::kTimerCredits));
  }

  // "Nastavení+Nová hra" shows the code entry with the keyboard focus; the code typed within the
  // 3 s of the model's timer opens the chooser over a disabled main window.
  void accessCodeOpensTheChooser() {
    Program p;
    QVERIFY(p.shown());
    p.window->dispatch({Event::Kind::Click, id::kShowMenu});
    p.window->dispatch({Event::Kind::Click, id::kEndGame});
    p.pointAt(p.widget(id::kCatGame));
    QTest::mouseClick(p.widget(id::kNewGameSettings), Qt::LeftButton);
    auto* code = p.widget<QLineEdit>(id::kAccessCode);
    QVERIFY(code->isVisible());
    QVERIFY(code->hasFocus());
    QTest::keyClicks(code, "58204");
    QCOMPARE(p.model().text(id::kAccessCode), std::string("58204"));
    QTRY_VERIFY_WITH_TIMEOUT(p.window->chooserWindow()->isVisible(), kPatienceMs);
    QVERIFY(!code->isVisible());
    QVERIFY(!p.window->isEnabled());
  }

  // The help-file link takes its colour, underline and cursor from the model: with no help file
  // the pointer over it turns it red with the "not allowed" cursor.
  void helpLinkFollowsThePointer() {
    Program p;
    QVERIFY(p.shown());
    QTest::keyClick(p.window.get(), Qt::Key_F1);
    auto* link = p.widget<QLabel>(id::kHelpLink);
    QVERIFY(!link->font().underline());
    // The offscreen platform hands the pointer to the first window under it whatever lies on
    // top, so the pointer enters the help window's widgets by their own events here.
    p.enter(link);
    QVERIFY(link->font().underline());
    QCOMPARE(link->cursor().shape(), Qt::ForbiddenCursor);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    p.enter(p.widget(id::kHelpQuit));
    QVERIFY(!link->font().underline());
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
    // A mouse button pressed on the link takes the underline off too.
    p.enter(link);
    QVERIFY(link->font().underline());
    QTest::mousePress(link, Qt::LeftButton);
    QVERIFY(!link->font().underline());
    QCOMPARE(p.count(Event::Kind::Press, id::kHelpLink), 1);
    QTest::mouseRelease(link, Qt::LeftButton);
  }

  // The load dialog's second entry lists the autosave log by its name with a blank and Czech
  // letters, and the log can be chosen: the way to the autosave manager.
  void loadDialogListsTheAutosaveLog() {
    Program p;
    const auto options = p.rig.app->game().loadDialogOptions();
    auto dialog = tervano::qt::QtHost::makeFileDialog(options, false, nullptr);
    dialog->show();
    dialog->selectNameFilter(dialog->nameFilters().at(1));
    auto* view = dialog->findChild<QListView*>("listView");
    QVERIFY(view);
    const QString log = QString::fromUtf8("automatické uložení.kra");
    // Files the filter does not match are listed greyed out: the log must be a choice.
    auto listed = [&] {
      QStringList names;
      for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r) {
        const QModelIndex index = view->model()->index(r, 0, view->rootIndex());
        if (view->model()->flags(index) & Qt::ItemIsEnabled) names << index.data().toString();
      }
      return names;
    };
    QTRY_VERIFY_WITH_TIMEOUT(listed().contains(log), kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(!listed().contains("hra.kr1"), kPatienceMs);
    dialog->selectFile(log);
    auto* box = dialog->findChild<QDialogButtonBox*>("buttonBox");
    QTRY_VERIFY_WITH_TIMEOUT(box->button(QDialogButtonBox::Open)->isEnabled(), kPatienceMs);
  }

  // The record player shows the whole path of the piece, however long.
  void recordPlayerShowsTheWholePath() {
    Program p;
    QVERIFY(p.shown());
    const std::string path =
        "/home/hráč/.local/share/tervano/a velmi dlouhá složka s hudbou/Tervano/hdb/Final.mid";
    p.rig.app->controls().setText(id::kRecordFile, path);
    p.window->sync();
    auto* label = p.widget<QLabel>(id::kRecordFile);
    QString shown = label->text();
    shown.remove(QChar(0x200B));
    QCOMPARE(shown, QString::fromStdString(path));
    const QRect needed =
        QFontMetrics(label->font()).boundingRect(label->rect(), Qt::TextWordWrap, label->text());
    QVERIFY2(needed.height() <= label->height(), "the path does not fit its label");
  }

  // The help file is read as UTF-8 or, failing that, as code page 1250; links never leave its
  // folder.
  void documentViewerReadsBothEncodings() {
    Rig rig;
    rig.dir.writeBytes("help/hkriz.hlp",
                       "<html><body><h1>N\xe1pov\xec"
                       "da</h1>"
                       "<a href=\"../secret.html\">x</a></body></html>");
    rig.dir.writeBytes("secret.html", "<p>tajné</p>");
    tervano::qt::DocumentViewer viewer;
    viewer.open(rig.dir.path("help/hkriz.hlp"));
    QVERIFY(viewer.browser()->toPlainText().startsWith("Nápověda"));
    emit viewer.browser()->anchorClicked(QUrl("../secret.html"));
    QVERIFY(viewer.browser()->toPlainText().startsWith("Nápověda"));

    rig.dir.writeBytes("help/utf.hlp", "<p>Nápověda Tervana</p>");
    viewer.open(rig.dir.path("help/utf.hlp"));
    QCOMPARE(viewer.browser()->toPlainText(), QString("Nápověda Tervana"));
  }

  // Timers: only those with work of their own get a QTimer (no 1 ms polling), and a stop and a
  // start in one command restart the countdown.
  void timersMirrorTheModel() {
    Program p;
    QVERIFY(p.shown());
    // The mirrors carry the names of the model's timers.
    int active = 0;
    for (const auto& [name, timer] : p.model().timers()) {
      auto* mirror = p.window->findChild<QTimer*>(QString::fromStdString(name));
      if (timer.onChange) {
        QVERIFY(!mirror);
        continue;
      }
      QVERIFY(mirror);
      QCOMPARE(mirror->isActive(), timer.running);
      if (!timer.running) continue;
      QCOMPARE(mirror->interval(), timer.intervalMs);
      ++active;
    }
    QVERIFY(active >= 2);  // the gauge and Kontrola timers of a loaded game

    auto& model = p.rig.app->controls();
    model.startTimer(id::kTimerAccessCode);
    p.window->sync();
    auto* code = p.window->findChild<QTimer*>(id::kTimerAccessCode);
    QVERIFY(code && code->isActive());
    QTest::qWait(1000);
    const int remaining = code->remainingTime();
    // It counts down; a coarse timer may be set up to 5 % late, so not to exactly 2000 ms.
    QVERIFY(remaining <= 2000 + 3000 / 20);
    model.stopTimer(id::kTimerAccessCode);
    model.startTimer(id::kTimerAccessCode);
    p.window->sync();
    QVERIFY(code->remainingTime() > remaining);  // started again from its full interval
    model.stopTimer(id::kTimerAccessCode);
    p.window->sync();
    QVERIFY(!code->isActive());
  }

  // A quit asked for while a box of another command is open takes effect when that command
  // returns, not in the middle of it.
  void quitWaitsForTheRunningCommand() {
    Program p;
    QVERIFY(p.shown());
    bool openDuringBox = false;
    p.rig.host.whileBoxOpen([&] {
      p.window->dispatch({Event::Kind::Click, id::kQuit});
      openDuringBox = p.window->isVisible();
    });
    p.rig.host.cancel();
    p.window->dispatch({Event::Kind::Click, id::kEndGame});
    QVERIFY(p.rig.host.quitRequested());
    QVERIFY(openDuringBox);
    QVERIFY(!p.window->isVisible());
  }

  // Closing the window is the application's close request: during a game it asks to save, then
  // the program ends.
  void closingTheWindowAsksTheApplication() {
    Program p;
    QVERIFY(p.shown());
    p.rig.host.clear();
    p.rig.host.cancel();
    p.window->close();
    QCOMPARE(p.count(Event::Kind::CloseRequest, ""), 1);
    QCOMPARE(p.rig.host.only({"ask", "quit"}),
             (std::vector<std::string>{"ask: Chcete současnou hru uložit? -> Cancel", "quit"}));
    QVERIFY(!p.window->isVisible());
  }

  // Window icon and mode-button pictures come from the program folder, also for buttons built
  // after the first paint; with one of the five pictures missing no button has one.
  void iconsAndPicturesFromTheProgramFolder() {
    auto pictures = [](bool all) {
      return [all](tervano::testing::TempProgram& dir) {
        std::filesystem::create_directories(dir.root() / "Ikony");
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(Qt::magenta);
        for (const char* name : {"editor", "sady", "parametry", "kr1", "havarie"})
          if (all || std::string(name) != "havarie")
            QVERIFY(glyph.save(QString::fromStdString(dir.path("Ikony/") + name + ".bmp"), "BMP"));
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::yellow);
        QVERIFY(icon.save(QString::fromStdString(dir.path("Ikony/sady.ico")), "ICO"));
      };
    };
    Program all("-SADA", pictures(true));
    QVERIFY(all.shown());
    QVERIFY(!all.window->windowIcon().isNull());
    QVERIFY(!all.widget<QAbstractButton>(id::kSetPanelMainApp)->icon().isNull());
    QVERIFY(!all.widget<QAbstractButton>(id::kToolEditor)->icon().isNull());
    QVERIFY(!all.widget<QAbstractButton>(id::kToolCrashLoad)->icon().isNull());

    Program some("-SADA", pictures(false));
    QVERIFY(some.shown());
    QVERIFY(some.widget<QAbstractButton>(id::kToolEditor)->icon().isNull());
    QVERIFY(some.widget<QAbstractButton>(id::kSetPanelMainApp)->icon().isNull());
  }

  // The model's geometry and font sizes reach the widgets: the menu screen's height, the
  // credits labels' position and size.
  void geometryAndFontsFollowTheModel() {
    Program p;
    QVERIFY(p.shown());
    auto& model = p.rig.app->controls();
    model.setHeight(id::kMenuScreen, 541);
    model.setGeometry(id::kCreditsCaption, {14, 40, 0, 0});
    model.setFontSize(id::kCreditsCaption, 10);
    p.window->sync();
    QCOMPARE(p.window->control(id::kMenuScreen)->height(), 541);
    QWidget* caption = p.widget(id::kCreditsCaption);
    QCOMPARE(caption->pos(), QPoint(14, 40));
    QCOMPARE(caption->font().pointSize(), 10);
  }

  // Gauges draw value / maximum clamped to the range.
  void pieGaugeClamps() {
    tervano::qt::PieGauge g;
    g.setRange(0, 7);
    g.setValue(3);
    QCOMPARE(g.fraction(), 3.0 / 7.0);
    g.setValue(9);
    QCOMPARE(g.fraction(), 1.0);
    g.setRange(0, 0);
    QCOMPARE(g.fraction(), 0.0);
  }
};

QTEST_MAIN(ViewTest)
#include "view_test.moc"
