// The autosave manager's screen in real widgets: the list shows the model's entries in one go,
// its selection goes back as a Select, the display styles switch views, and every control is
// named for assistive technology by its caption.
#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "program_folder.h"
#include "qt/main_window.h"
#include "rig_window.h"
#include "ui/ids.h"

using tervano::app::Event;
using tervano::qt::MainWindow;
namespace id = tervano::id;

namespace {

// The full manager on a log of the given number of records.
struct Manager {
  tervano::testing::Rig rig;
  std::unique_ptr<MainWindow> window;
  std::vector<Event> events;

  explicit Manager(int records) {
    rig.dir.makeSet({2, 2, 2, 2});
    std::vector<std::string> log{"A", "50", std::to_string(records), "kontrole každé křížovky"};
    const char* triggers[] = {"kontrole každé křížovky", "začátku ročníku", " "};
    for (int r = 0; r < records; ++r) {
      const std::string n = std::to_string(r + 1);
      const std::vector<std::string> record = {
          " ", "<>", "4", "1", n,   " ", "<data1>",       "N",  "0", "1", n, "0", "0",
          "A", "S",  "4", "N", "N", "N", triggers[r % 3], "</>"};
      log.insert(log.end(), record.begin(), record.end());
    }
    rig.dir.write("Data/kriz/automatické uložení.kra", log);
    rig.start("-SPAUTOSAVE");
    window = std::make_unique<MainWindow>(*rig.app, [this] { return rig.host.quitRequested(); });
    window->observeDispatch([this](const Event& e) { events.push_back(e); });
    window->sync();
    window->show();
    window->completeBuild();
  }
  QListView* list() const { return window->control(id::kManagerList)->findChild<QListView*>(); }
  QTreeView* details() const { return window->control(id::kManagerList)->findChild<QTreeView*>(); }
  QWidget* widget(const char* controlId) const { return window->control(controlId); }
  int count(Event::Kind kind, const std::string& controlId) const {
    int n = 0;
    for (const auto& e : events)
      n += e.kind == kind && e.id == controlId;
    return n;
  }
  void click(QAbstractItemView* view, int row, bool twice = false) {
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
  }
};

using tervano::testing::accessibleName;

}  // namespace

class ManagerScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void everyControlIsNamedByItsCaption() {
    Manager m(3);
    QVERIFY(QTest::qWaitForWindowExposed(m.window.get(), 60000));
    QCOMPARE(accessibleName(m.list()), QString("Obsah souboru"));
    QCOMPARE(accessibleName(m.details()), QString("Obsah souboru"));
    const std::vector<std::pair<const char*, QString>> captions = {
        {id::kManagerDelete, "Smazat"},
        {id::kManagerView, "Nahlédnout do obsahu"},
        {id::kManagerLoad, "Načíst"},
        {id::kManagerQuit, "Konec"},
        {id::kManagerDeleteAll, "Smazat veškeré záznamy"},
        {id::kAutosavePanelMainApp, "Hlavní aplikace"},
        {id::kManagerStyleIcons, "Velké ikony"},
        {id::kManagerStyleList, "Seznam"},
        {id::kManagerStyleDetails, "Podrobnosti"},
        {id::kManagerCount, "Počet záznamů: 3 / 50 povolených"}};
    for (const auto& [controlId, caption] : captions) {
      QWidget* w = m.widget(controlId);
      QVERIFY2(w, controlId);
      QCOMPARE(accessibleName(w), caption);
    }
    // The entries are read out by their captions.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m.list());
    QVERIFY(list);
    QStringList names;
    for (int i = 0; i < list->childCount(); ++i)
      names << list->child(i)->text(QAccessible::Name);
    QVERIFY2(names.contains("4/1/2"), qPrintable(names.join(",")));
  }

  // A deletion changes the list in one model reset: no item is inserted or removed one by one.
  void theListIsFilledInOneGo() {
    Manager m(200);
    QCOMPARE(m.list()->model()->rowCount(), 200);
    QCOMPARE(m.list()->model()->data(m.list()->model()->index(6, 0)).toString(), QString("4/1/7"));
    QVERIFY(!m.list()->model()->data(m.list()->model()->index(2, 0), Qt::DecorationRole).isNull());
    int resets = 0, single = 0;
    QAbstractItemModel* model = m.list()->model();
    connect(model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    connect(model, &QAbstractItemModel::rowsInserted, [&] { ++single; });
    connect(model, &QAbstractItemModel::rowsRemoved, [&] { ++single; });
    m.rig.host.ok();
    m.window->dispatch({Event::Kind::Select, id::kManagerList, {}, 5});
    m.window->dispatch({Event::Kind::Click, id::kManagerDelete});
    QCOMPARE(model->rowCount(), 199);
    QCOMPARE(resets, 1);
    QCOMPARE(single, 0);
    QVERIFY(!m.widget(id::kManagerProgress)->isVisible());
    QVERIFY(!m.widget(id::kManagerAnimation)->isVisible());
  }

  // A click on an entry selects it in the model, which enables the buttons; a double click asks
  // for the load; the model's own deselection clears the view's.
  void theSelectionGoesToTheModel() {
    Manager m(5);
    QVERIFY(QTest::qWaitForWindowExposed(m.window.get(), 60000));
    QVERIFY(!m.widget(id::kManagerLoad)->isEnabled());
    m.click(m.list(), 3);
    QCOMPARE(m.rig.app->controls().value(id::kManagerList), 3);
    QVERIFY(m.widget(id::kManagerLoad)->isEnabled());
    QVERIFY(m.widget(id::kManagerView)->isEnabled());
    m.rig.host.cancel();
    m.click(m.list(), 3, true);
    QCOMPARE(m.count(Event::Kind::DoubleClick, id::kManagerList), 1);
    QCOMPARE(m.rig.host.only({"ask"}),
             std::vector<std::string>{"ask: Chcete skutečně vybraný záznam načíst? -> Cancel"});
    // Declining disables the buttons and ends the selection, on screen too.
    QVERIFY(!m.widget(id::kManagerLoad)->isEnabled());
    QVERIFY(m.list()->selectionModel()->selectedRows().isEmpty());
  }

  void theStyleButtonsSwitchTheViews() {
    Manager m(5);
    QVERIFY(QTest::qWaitForWindowExposed(m.window.get(), 60000));
    QCOMPARE(m.list()->viewMode(), QListView::IconMode);
    QVERIFY(m.list()->isVisible() && !m.details()->isVisible());
    QTest::mouseClick(static_cast<QAbstractButton*>(m.widget(id::kManagerStyleDetails)),
                      Qt::LeftButton);
    QVERIFY(!m.list()->isVisible() && m.details()->isVisible());
    QCOMPARE(m.details()->columnWidth(0), 150);
    QCOMPARE(m.details()->model()->headerData(0, Qt::Horizontal).toString(), QString("Záznam"));
    // The selection is one for both views.
    m.click(m.details(), 2);
    QCOMPARE(m.rig.app->controls().value(id::kManagerList), 2);
    auto* list = static_cast<QAbstractButton*>(m.widget(id::kManagerStyleList));
    QTest::mouseClick(list, Qt::LeftButton);
    QTest::mouseClick(list, Qt::LeftButton);  // a second click keeps the style
    QVERIFY(list->isChecked());
    QVERIFY(!static_cast<QAbstractButton*>(m.widget(id::kManagerStyleDetails))->isChecked());
    QCOMPARE(m.list()->viewMode(), QListView::ListMode);
    QVERIFY(m.list()->isVisible());
    QCOMPARE(m.list()->selectionModel()->selectedRows().front().row(), 2);
  }
};

QTEST_MAIN(ManagerScreenTest)
#include "manager_screen_test.moc"
