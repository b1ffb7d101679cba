// A mode switch starts the program's own executable again: the new instance works in the same
// program folder (handed over, wherever the executable would look itself) from the program
// folder's "help" folder, with the switch as its one argument.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "data/program_location.h"
#include "ui/qt/qt_host.h"

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
