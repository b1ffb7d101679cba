// The real host: every box it shows comes up on screen, in front and active, whichever window was
// used last and whenever the system reports its activations. A mode switch starts the program's
// own executable again: the new instance works in the same program folder (handed over, wherever
// the executable would look itself) from the program folder's "help" folder, with the switch as
// its one argument.
#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/application.h"
#include "data/program_location.h"
#include "data/texts.h"
#include "program_folder.h"
#include "qt/main_window.h"
#include "qt/qt_host.h"
#include "qt/side_windows.h"
#include "ui/ids.h"

namespace id = tervano::id;
using Kind = tervano::app::Event::Kind;

namespace {

// The crossword editor with the real host and its real boxes, the main window shown.
struct HostedEditor {
  tervano::testing::TempProgram dir;
  std::unique_ptr<tervano::qt::QtHost> host;
  std::unique_ptr<tervano::app::Application> app;
  std::unique_ptr<tervano::qt::MainWindow> window;

  HostedEditor() {
    dir.makeSet({3, 3, 3, 3});
    host = std::make_unique<tervano::qt::QtHost>(dir.path("tervano-hra"), dir.root().string(),
                                                 nullptr);
    tervano::TextList arguments{dir.path("tervano-hra")};
    arguments.append("-EDITOR");
    app = std::make_unique<tervano::app::Application>(*host, tervano::ProgramFolder(dir.root()),
                                                      arguments);
    window =
        std::make_unique<tervano::qt::MainWindow>(*app, [this] { return host->quitRequested(); });
    host->setWindow(window.get(), [this] { window->syncBeforeModal(); });
    app->startProgram();
    window->sync();
    window->show();
  }
  void send(tervano::app::Event e) { window->dispatch(std::move(e)); }
};

// Waits, as a user would look, until the condition holds; false when it never does.
template <typename Condition>
bool within(int ms, Condition condition) {
  for (QDeadlineTimer deadline(ms); !condition();) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

// What a box showed of itself while it was up.
struct BoxSeen {
  QString title, text;
  bool onTheMainWindow = false;  // its parent is the main window, shown
  bool shown = false;
  bool active = false;  // the active window and the modal widget
  bool activeAfterLateReport = false;
};

}  // namespace

class HostTest : public QObject {
  Q_OBJECT

 private slots:
  // The file dialogs and message boxes take their buttons from the toolkit: they must read Czech.
  void theToolkitsOwnButtonsReadCzech() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QVERIFY(app);
    tervano::qt::useCzechToolkitTexts(*app);
    QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Zrušit"));
    QCOMPARE(box.button(QDialogButtonBox::Open)->text(), QString("Otevřít"));
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text().remove('&'), QString("Ano"));
  }

  // A question with options: the preselected one is checked, the one clicked is the answer, and
  // each option is named for a screen reader by its text; cancelling answers nothing.
  void aChoiceAnswersWithTheOptionPicked() {
    tervano::qt::QtHost host("", "", nullptr);
    const std::vector<std::string> options = {"1. sloupec „English“", "2. sloupec „Čeština“",
                                              "3. sloupec"};
    for (int pick : {2, 0, -1}) {
      QTimer::singleShot(0, [pick] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto radios = dialog->findChildren<QRadioButton*>();
        QCOMPARE(radios.size(), 3);
        QVERIFY(radios[1]->isChecked());
        QCOMPARE(radios[1]->accessibleName(), QString("2. sloupec „Čeština“"));
        if (pick < 0) {
          dialog->reject();
          return;
        }
        radios[pick]->click();
        dialog->accept();
      });
      const auto chosen = host.choose("Ve kterém sloupci je česká nápověda?", options, 1);
      if (pick < 0)
        QVERIFY(!chosen.has_value());
      else
        QCOMPARE(chosen.value_or(99), static_cast<std::size_t>(pick));
    }
  }

  // The deletion script's question, as a console asks it: "a" and Enter (or OK, or Enter alone)
  // answers yes, "n" and Enter (or "Ne", or Escape) no; anything else is asked again. The field
  // is named for a screen reader by its caption.
  void aConsoleQuestionIsAnsweredByALetterAndEnter() {
    tervano::qt::QtHost host("", "", nullptr);
    struct Case {
      QString typed;
      const char* press;  // "enter", "ok", "ne", "escape"
      bool yes;
    };
    const std::vector<Case> cases = {
        {"a", "enter", true}, {"n", "enter", false}, {"", "enter", true}, {"", "ok", true},
        {"A", "ok", true},    {"x", "enter", false}, {"", "ne", false},   {"a", "escape", false}};
    for (const Case& c : cases) {
      bool askedAgain = false;
      QString shown, fieldName;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* field = dialog ? dialog->findChild<QLineEdit*>() : nullptr;
        if (!field) return dialog ? dialog->reject() : void();
        shown = dialog->findChild<QLabel*>()->text();
        fieldName = field->accessibleName();
        QTest::keyClicks(field, c.typed);
        auto buttons = dialog->findChildren<QPushButton*>();
        auto button = [&](const char* caption) {
          for (QPushButton* b : buttons)
            if (b->text() == caption) return b;
          return static_cast<QPushButton*>(nullptr);
        };
        const std::string press = c.press;
        if (press == "enter") QTest::keyClick(field, Qt::Key_Return);
        if (press == "ok") button("OK")->click();
        if (press == "ne") button("Ne")->click();
        if (press == "escape") QTest::keyClick(field, Qt::Key_Escape);
        if (c.typed == "x") {
          // Not an answer: the box stays and asks again; "n" then answers.
          askedAgain = dialog->isVisible();
          field->clear();
          QTest::keyClicks(field, "n");
          QTest::keyClick(field, Qt::Key_Return);
        }
      });
      const bool yes = host.consoleQuestion("„/hra/tervanoMazani/hdb/*.*“\rOpravdu? (A/N)");
      QCOMPARE(yes, c.yes);
      if (c.typed == "x") QVERIFY(askedAgain);
    }
  }

  // Load (or start anew), type into the map, close the window: the warning that the data are not
  // saved is the first box of the program. It must come up in front of the main window it
  // belongs to, as the active window, whether the chooser or the main window was used last, and
  // stay so when the system answers an activation asked for before the box (the main window's,
  // when the chooser gave it back) only after the box is up, as it does on a busy machine.
  void theFirstBoxAfterAnEditIsInFrontAndActive() {
    for (bool throughChooser : {true, false}) {
      const char* path = throughChooser ? "Načíst, the chooser used last" : "Nová ...";
      HostedEditor p;
      QVERIFY(QTest::qWaitForWindowActive(p.window.get()));
      if (throughChooser) {
        p.send({Kind::Click, id::kDataLoad});
        QWidget* chooser = p.window->chooserWindow();
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        p.send({Kind::Select, id::kChooserGrade, "1"});
        p.send({Kind::Edit, id::kChooserCrossword, "2"});
        p.send({Kind::Click, id::kChooserConfirm});
        QVERIFY2(!chooser->isVisible(), path);
      } else {
        p.send({Kind::Click, id::kDataNew});
      }
      p.send({Kind::Edit, id::kMapArea, "x"});
      QCOMPARE(p.app->controls().text(id::kDataStatus), std::string("Neuložená"));

      BoxSeen seen;
      QTimer watch;
      QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        watch.stop();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.onTheMainWindow = box->parentWidget() == p.window.get() && p.window->isVisible();
        seen.shown = box->isVisible();
        seen.active = within(5000, [box] { return QApplication::activeWindow() == box; });
        // The late report: the main window, blocked by the box, made active.
        p.window->activateWindow();
        QTest::qWait(50);
        seen.activeAfterLateReport = within(5000, [box] {
          return QApplication::activeWindow() == box && QApplication::activeModalWidget() == box;
        });
        box->buttons().front()->click();
      });
      watch.start(5);
      p.window->close();
      QVERIFY2(seen.shown, path);
      QCOMPARE(seen.title, QString("Varování"));
      QCOMPARE(seen.text, QString(tervano::text::kDataUnsaved).replace('\r', '\n'));
      QVERIFY2(seen.onTheMainWindow, path);
      QVERIFY2(seen.active, path);
      QVERIFY2(seen.activeAfterLateReport, path);
      // The close was refused: the program goes on with its data.
      QVERIFY(!p.host->quitRequested());
      QVERIFY(p.window->isVisible());
    }
  }

  void aNewInstanceGetsTheProgramFolderAndItsHelpFolder() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const std::filesystem::path folder = root / "moje data";
    std::filesystem::create_directories(folder / "help");
    // Stands in for the executable: reports what it was started with.
    const std::filesystem::path exe = root / "tervano-hra";
    const std::filesystem::path report = root / "report";
    std::ofstream(exe) << "#!/bin/sh\nprintf '%s\\n' \"$" << tervano::kProgramFolderVariable
                       << "\" \"$PWD\" \"$*\" > '" << report.string() << ".tmp'\nmv '"
                       << report.string() << ".tmp' '" << report.string() << "'\n";
    std::filesystem::permissions(exe, std::filesystem::perms::owner_all);

    tervano::qt::QtHost host(exe.string(), folder.string(), nullptr);
    host.startInstance("-SADA", (folder / "help").string());
    // The limit only keeps the test from hanging when no process starts.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(report), 60000);
    std::ifstream in(report);
    std::string handed, working, arguments;
    std::getline(in, handed);
    std::getline(in, working);
    std::getline(in, arguments);
    QCOMPARE(QString::fromStdString(handed), QString::fromStdString(folder.string()));
    QCOMPARE(QString::fromStdString(working), QString::fromStdString((folder / "help").string()));
    QCOMPARE(QString::fromStdString(arguments), QString("-SADA"));
  }
};

QTEST_MAIN(HostTest)
#include "host_test.moc"
