// The view and the model name the same controls: in every mode, each control the model declares
// has a widget (or a watcher) in the view, and the view binds nothing the model does not declare.
#include <QTest>
#include <algorithm>
#include <set>
#include <string>

#include "app/mode_registry.h"
#include "program_folder.h"
#include "qt/main_window.h"

using tervano::qt::MainWindow;
using tervano::testing::Rig;

class ContractTest : public QObject {
  Q_OBJECT

 private slots:
  void everyModeBindsWhatItDeclares_data() {
    QTest::addColumn<QString>("mode");
    for (const auto& mode : tervano::app::ModeRegistry::standard().rows())
      QTest::newRow(mode.name.empty() ? "main" : mode.name.c_str())
          << QString::fromStdString(mode.name);
  }

  void everyModeBindsWhatItDeclares() {
    QFETCH(QString, mode);
    Rig rig;
    rig.dir.makeSet({2, 2, 2, 2});
    if (mode.isEmpty()) rig.host.pick(rig.dir.makeSave("hra", tervano::testing::record()));
    rig.start(mode.toStdString());
    MainWindow window(*rig.app, [] { return false; });
    window.completeBuild();

    std::set<std::string> declared;
    for (const auto& [id, control] : rig.app->controls().all())
      declared.insert(id);
    const auto boundList = window.boundControls();
    const std::set<std::string> bound(boundList.begin(), boundList.end());

    std::string unbound, undeclared;
    std::set_difference(declared.begin(), declared.end(), bound.begin(), bound.end(),
                        tervano::testing::Joiner{unbound});
    std::set_difference(bound.begin(), bound.end(), declared.begin(), declared.end(),
                        tervano::testing::Joiner{undeclared});
    QVERIFY2(unbound.empty(), ("declared but shown by no widget:" + unbound).c_str());
    QVERIFY2(undeclared.empty(), ("bound but not declared:" + undeclared).c_str());
  }
};

QTEST_MAIN(ContractTest)
#include "contract_test.moc"
