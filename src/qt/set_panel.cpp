// The set panel of set selection, over the whole window: the set list, its commands, the name
// sub-panel of creation and renaming, and the progress of a running command script.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>

#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/set_panel.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

constexpr int kLeft = 150;
constexpr int kWidth = 298;
constexpr int kHalf = (kWidth - 6) / 2;

// A number box of the sub-panel: a value out of range moves to the nearer bound when the box
// loses the focus, and the model hears of it then. Its accessible name follows its label.
QSpinBox* numberBox(ScreenKit& kit, QWidget* parent, const char* id, const char* label,
                    const QRect& r, bool readOnly) {
  QSpinBox* box = kit.forms.spin(id, parent, r, 1);
  box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  box->setKeyboardTracking(false);
  if (readOnly) {
    box->setReadOnly(true);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
  }
  kit.binder.watch(label, [box](const ui::Control& c) {
    box->setAccessibleName(QString::fromStdString(c.text));
  });
  const std::string name = id;
  Forms* forms = &kit.forms;
  QObject::connect(box, &QSpinBox::editingFinished, box, [forms, box, name] {
    forms->send({Kind::Focus, name, box->text().toStdString(), 0});
  });
  return box;
}

void buildNamePanel(ScreenKit& kit, QWidget* p) {
  Forms& f = kit.forms;
  QFrame* sub = f.panel(id::kNamePanel, p, QRect(kLeft, 274, kWidth, 122));
  f.label(id::kNamePanelTitle, sub, QRect(8, 6, 150, 22), style::kYellow);
  f.caption(sub, QRect(160, 6, 60, 22), "sadu", style::kYellow);
  f.button(id::kNamePanelClose, sub, QRect(kWidth - 34, 5, 26, 24))
      ->setAccessibleDescription("Zavřít");
  f.label(id::kOldNameLabel, sub, QRect(8, 34, 170, 24), style::kLime);
  numberBox(kit, sub, id::kOldNumber, id::kOldNameLabel, QRect(184, 34, 80, 24), true);
  f.label(id::kNewNameLabel, sub, QRect(8, 62, 170, 24), style::kLime);
  numberBox(kit, sub, id::kNewNumber, id::kNewNameLabel, QRect(184, 62, 80, 24), false);
  f.button(id::kNameConfirm, sub, QRect(8, 92, kWidth - 16, 24));
}

}  // namespace

QWidget* buildSetPanel(ScreenKit& kit, QWidget* window) {
  Forms& f = kit.forms;
  auto* p = new QFrame(window);
  p->setObjectName("setPanel");
  p->setGeometry(0, 0, size::kWidth, size::kHeight);
  p->setAutoFillBackground(true);
  kit.binder.bind(id::kSetPanel, p, Aspects{});
  kit.router.addDragHandle(p);

  auto* motif = new CrosswordMotif(p);
  motif->setGeometry((size::kWidth - 100) / 2, 18, 100, 100);
  Aspects title;
  title.pointSize = 16;
  f.label(id::kSetPanelTitle, p, QRect(0, 126, size::kWidth, 32), style::kYellow, title,
          Qt::AlignCenter);
  f.label(id::kSetActive, p, QRect(20, 162, size::kWidth - 40, 20), style::kAqua, {},
          Qt::AlignCenter);

  QLabel* sets = f.caption(p, QRect(kLeft, 200, 48, 26), "Sady:", style::kLime);
  sets->setBuddy(f.combo(id::kSetBox, p, QRect(kLeft + 50, 200, kWidth - 50, 26), sets->text()));

  f.button(id::kSetConfirm, p, QRect(kLeft, 236, kWidth, 28));
  f.button(id::kSetCreate, p, QRect(kLeft, 274, kHalf, 28));
  f.button(id::kSetRename, p, QRect(kLeft + kHalf + 6, 274, kHalf, 28));
  f.button(id::kSetDelete, p, QRect(kLeft, 308, kHalf, 28));
  f.button(id::kSetInstall, p, QRect(kLeft + kHalf + 6, 308, kHalf, 28));
  buildNamePanel(kit, p);
  f.button(id::kSetPanelMainApp, p, QRect((size::kWidth - 170) / 2, 410, 170, 30));

  auto* bar = new QProgressBar(p);
  bar->setGeometry(kLeft, 454, kWidth, 16);
  bar->setTextVisible(false);
  bar->setAccessibleName("Průběh");
  kit.binder.bind(id::kSetProgress, bar, Aspects{}, [bar](const ui::Control& c) {
    bar->setRange(c.minimum, c.maximum);
    bar->setValue(c.value);
  });
  QLabel* status = f.label(id::kSetStatus, p, QRect(40, 474, size::kWidth - 80, 52), style::kLime,
                           {}, Qt::AlignHCenter | Qt::AlignTop);
  status->setWordWrap(true);
  return p;
}

}  // namespace tervano::qt
