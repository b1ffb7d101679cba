// The parts under the view: the binder applies only what changed, the input router reports the
// control under the pointer once per change, and long captions are fitted, not cut.
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <optional>
#include <vector>

#include "qt/binder.h"
#include "qt/input.h"
#include "qt/widgets.h"
#include "ui/controls.h"

using tervano::app::Event;
using tervano::qt::Aspects;
using tervano::qt::Binder;
using tervano::qt::InputRouter;
using tervano::ui::Control;
using tervano::ui::Controls;

namespace {

Control captioned(const char* text) {
  Control c;
  c.text = text;
  return c;
}

// Sends the pointer into a widget as the platform does: an enter event, at the widget's middle
// or at a given place on the screen.
void enter(QWidget* w, std::optional<QPointF> global = {}) {
  const QPointF at = global ? *global : w->mapToGlobal(QRectF(w->rect()).center());
  const QPointF local = w->mapFromGlobal(at);
  QEnterEvent e(local, w->mapTo(w->window(), local), at);
  QApplication::sendEvent(w, &e);
}

void moveOver(QWidget* w, QPoint local) {
  QMouseEvent e(QEvent::MouseMove, local, w->mapTo(w->window(), local), w->mapToGlobal(local),
                Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// A window with a panel holding a button and a plain (unbound) label.
struct Screen {
  QWidget window;
  QWidget* panel;
  QPushButton* button;
  QLabel* plain;
  Binder binder;
  std::vector<std::string> hovers;
  std::vector<std::string> presses;
  InputRouter router{binder, [this](const Event& e) {
                       (e.kind == Event::Kind::Press ? presses : hovers).push_back(e.id);
                     }};

  Screen() {
    window.setFixedSize(300, 200);
    panel = new QWidget(&window);
    panel->setGeometry(10, 10, 200, 150);
    button = new QPushButton("Hra ...", panel);
    button->setGeometry(10, 10, 100, 30);
    plain = new QLabel("text", panel);
    plain->setGeometry(10, 100, 100, 20);
    plain->setAttribute(Qt::WA_TransparentForMouseEvents);
    binder.bind("window", &window, Aspects{.visible = false, .enabled = false});
    binder.bind("panel", panel, Aspects{});
    binder.bind("button", button, Aspects{.text = true});
    router.addWindow(&window);
    router.addDragHandle(&window);
    router.addDragHandle(panel);
    router.reportPress("button");
    window.show();
  }
};

}  // namespace

class PartsTest : public QObject {
  Q_OBJECT

 private slots:
  // Only controls whose revision changed are applied again; controls the model does not declare
  // are skipped rather than fatal.
  void binderAppliesOnlyWhatChanged() {
    Controls model;
    model.declare("a", captioned("one"));
    model.declare("b", captioned("two"));
    Binder binder;
    int appliedA = 0, appliedB = 0;
    binder.watch("a", [&](const Control&) { ++appliedA; });
    binder.watch("b", [&](const Control&) { ++appliedB; });
    binder.watch("undeclared", [](const Control&) { QFAIL("applied an undeclared control"); });
    binder.sync(model);
    QCOMPARE(appliedA, 1);
    QCOMPARE(appliedB, 1);

    binder.sync(model);
    model.setText("a", "one");  // no change, no revision
    binder.sync(model);
    QCOMPARE(appliedA, 1);

    model.setText("a", "three");
    binder.sync(model);
    QCOMPARE(appliedA, 2);
    QCOMPARE(appliedB, 1);

    binder.invalidate();
    binder.sync(model);
    QCOMPARE(appliedA, 3);
    QCOMPARE(appliedB, 2);
  }

  // A widget bound late is applied at the next sync although nothing in the model changed.
  void binderAppliesLateBindings() {
    Controls model;
    model.declare("a", captioned("one"));
    Binder binder;
    binder.sync(model);
    QLabel label;
    binder.bind("a", &label, Aspects{.text = true});
    binder.sync(model);
    QCOMPARE(label.text(), QString("one"));
  }

  // Visibility and enabled state come from the model; a widget inside a bound one answers to it.
  void binderMapsWidgetsToControls() {
    Controls model;
    Control hidden = captioned("Konec");
    hidden.visible = false;
    hidden.enabled = false;
    model.declare("quit", hidden);
    QWidget parent;
    auto* button = new QPushButton(&parent);
    auto* inner = new QLabel(button);
    Binder binder;
    binder.bind("quit", button, Aspects{.text = true});
    binder.sync(model);
    QVERIFY(button->isHidden());
    QVERIFY(!button->isEnabled());
    QCOMPARE(button->text(), QString("Konec"));
    QCOMPARE(*binder.idAt(inner), std::string("quit"));
    QCOMPARE(binder.idAt(&parent), nullptr);
    model.setVisible("quit", true);
    model.setText("quit", "Rock & roll");
    binder.sync(model);
    QVERIFY(!button->isHidden());
    QCOMPARE(button->text(), QString("Rock && roll"));  // not a mnemonic
  }

  // The pointer is reported once per control it comes onto, under the deepest bound control;
  // an unbound label counts as what lies under it.
  void routerReportsEachNewControlOnce() {
    Screen s;
    // Coming from outside straight onto the button, each widget on the way hears of it.
    const QPointF onButton = s.button->mapToGlobal(QPointF(50, 15));
    enter(&s.window, onButton);
    enter(s.panel, onButton);
    enter(s.button, onButton);
    moveOver(s.button, QPoint(20, 10));
    moveOver(s.button, QPoint(30, 10));
    QCOMPARE(s.hovers, (std::vector<std::string>{"button"}));

    moveOver(s.plain, QPoint(5, 5));
    QCOMPARE(s.hovers.back(), std::string("panel"));
    moveOver(s.panel, QPoint(150, 120));
    QCOMPARE(s.hovers.size(), std::size_t(2));
  }

  // Controls that ask for it hear every movement; one movement counts once.
  void routerReportsEveryMoveWhenAsked() {
    Screen s;
    s.router.reportEveryMove("panel");
    moveOver(s.panel, QPoint(150, 120));
    moveOver(s.panel, QPoint(150, 120));  // the same place: a copy of the same movement
    moveOver(s.panel, QPoint(151, 120));
    moveOver(s.panel, QPoint(152, 121));
    QCOMPARE(s.hovers.size(), std::size_t(3));
  }

  // Paused (while the view builds or syncs) or on a disabled window, nothing is reported.
  void routerIsSilentWhenPausedOrDisabled() {
    Screen s;
    s.router.pause(true);
    enter(s.button);
    s.router.pause(false);
    QVERIFY(s.hovers.empty());
    s.window.setEnabled(false);
    enter(s.button);
    QVERIFY(s.hovers.empty());
    s.window.setEnabled(true);
    enter(s.button);
    QCOMPARE(s.hovers, (std::vector<std::string>{"button"}));
  }

  // A press on a button is reported and does not drag the window; a press on the background
  // drags it.
  void routerPressesAndDrags() {
    Screen s;
    const QPoint start = s.window.pos();
    QTest::mousePress(s.button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(s.button, QPoint(40, 25));
    QTest::mouseRelease(s.button, Qt::LeftButton, {}, QPoint(40, 25));
    QCOMPARE(s.presses, (std::vector<std::string>{"button"}));
    QCOMPARE(s.window.pos(), start);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(150, 120),
                      s.panel->mapToGlobal(QPointF(150, 120)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(s.panel, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(170, 150), s.panel->mapToGlobal(QPointF(170, 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.panel, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(170, 150),
                        s.panel->mapToGlobal(QPointF(170, 150)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(s.panel, &release);
    QCOMPARE(s.window.pos(), start + QPoint(20, 30));
  }

  // A caption too long for its widget is narrowed until it fits; a shorter one later gets the
  // full size back.
  void longCaptionsAreFitted() {
    QPushButton b;
    b.setFont(QFont("DejaVu Sans", 8, QFont::Bold));
    const QString text = "Správa automatic. uložení";
    const int full = QFontMetrics(b.font()).horizontalAdvance(text);
    tervano::qt::fitText(&b, text, full - 12);
    QVERIFY(QFontMetrics(b.font()).horizontalAdvance(text) <= full - 12);
    tervano::qt::fitText(&b, "Hra", 200);
    QCOMPARE(b.font().pointSize(), 8);
    QCOMPARE(b.font().letterSpacing(), 100.0);
  }

  // Only characters of code page 1250 are kept.
  void representableText() {
    QVERIFY(tervano::qt::representable("Příliš žluťoučký kůň €"));
    QVERIFY(!tervano::qt::representable("слово"));
    QCOMPARE(tervano::qt::representablePart("aжb☃c"), QString("abc"));
    tervano::qt::Cp1250Validator v;
    QString input = "ř";
    int pos = 0;
    QCOMPARE(v.validate(input, pos), QValidator::Acceptable);
    input = "řж";
    QCOMPARE(v.validate(input, pos), QValidator::Invalid);
  }
};

QTEST_MAIN(PartsTest)
#include "parts_test.moc"
