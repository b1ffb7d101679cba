// The crossword editor's parts: the inputs over the play screen, the data panel on the menu
// screen (shared with the script editor) and the word-list window.
#include <QApplication>
#include <QGroupBox>
#include <QStyle>

#include "qt/print_window.h"
#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "qt/word_list_window.h"
#include "ui/ids/editor.h"
#include "ui/ids/menu.h"
#include "ui/ids/play.h"
#include "ui/ids/print.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// A control without a caption of its own is named after the caption it stands under or beside.
void nameAfter(QWidget* w, const ui::Controls& model, const char* captionId) {
  w->setAccessibleName(q(model.text(captionId)));
}

// An arrow picture: the control's text is its name and tooltip.
void arrow(ScreenKit& kit, const char* id, QWidget* parent, const QRect& r,
           QStyle::StandardPixmap picture) {
  auto* b = new QPushButton(parent);
  b->setGeometry(r);
  b->setFocusPolicy(Qt::TabFocus);
  b->setIcon(QApplication::style()->standardIcon(picture));
  b->setIconSize(QSize(20, 20));
  kit.binder.bind(id, b, Aspects{}, [b](const ui::Control& c) {
    b->setToolTip(q(c.text));
    b->setAccessibleName(q(c.text));
  });
  Forms& forms = kit.forms;
  const std::string name = id;
  QObject::connect(b, &QPushButton::clicked, [&forms, name] { forms.click(name); });
}

// The map and the legend are read-only in play; in the editor they are written like the answer
// area. What the model put there itself is not sent back as an edit.
void makeEditable(ScreenKit& kit, const char* id) {
  auto* area = qobject_cast<TextArea*>(kit.binder.widget(id));
  if (!area) return;
  area->setReadOnly(false);
  Forms& forms = kit.forms;
  const ui::Controls& model = kit.model;
  const std::string name = id;
  QObject::connect(area, &QPlainTextEdit::textChanged, area, [&forms, &model, area, name] {
    const std::string text = area->toPlainText().toStdString();
    if (TextList::fromText(text) == model.lines(name)) return;
    forms.send({Kind::Edit, name, text});
  });
}

}  // namespace

void buildEditorOnPlayScreen(ScreenKit& kit, QWidget* s) {
  Forms& forms = kit.forms;
  const ui::Controls& model = kit.model;
  if (!model.has(id::kGradeSpin)) return;
  nameAfter(forms.spin(id::kGradeSpin, s, QRect(150, 52, 64, 22), 1), model, id::kGradeCaption);
  // Named after its caption, which is also its label (the accessibility relation).
  QComboBox* language = forms.combo(id::kLanguageBox, s, QRect(90, 182, 160, 22),
                                    q(model.text(id::kLanguageCaption)));
  if (auto* caption = qobject_cast<QLabel*>(kit.binder.widget(id::kLanguageCaption)))
    caption->setBuddy(language);
  // Over their values in the scoring group, one row each.
  QWidget* scoring = kit.binder.widget(id::kScoringGroup);
  int top = 24;
  const std::pair<const char*, const char*> spins[] = {
      {id::kScoreSpinGood, id::kScoreGoodCaption},
      {id::kScoreSpinBad, id::kScoreBadCaption},
      {id::kScoreSpinGoodTajenka, id::kScoreGoodTajenkaCaption},
      {id::kScoreSpinBadTajenka, id::kScoreBadTajenkaCaption}};
  for (auto [spin, caption] : spins) {
    nameAfter(forms.spin(spin, scoring, QRect(232, top - 2, 50, 22), 1), model, caption);
    top += 22;
  }
  // "Bod uložení" where "Kontrola" stands in play; the arrows beside the position group.
  auto* savePoint = forms.check(id::kSavePoint, s, QRect(400, 362, 150, 22), true);
  style::setTextColor(savePoint, style::kLime);
  arrow(kit, id::kArrowPrev, s, QRect(500, 440, 40, 30), QStyle::SP_ArrowLeft);
  arrow(kit, id::kArrowNext, s, QRect(546, 440, 40, 30), QStyle::SP_ArrowRight);
  makeEditable(kit, id::kMapArea);
  makeEditable(kit, id::kLegendArea);
  if (model.has(id::kWordListWindow)) {
    auto* window = new WordListWindow(forms, s->window());
    // Taken down with the screens, before the binder and the forms it reports to.
    QObject::connect(s, &QObject::destroyed, [window] { delete window; });
  }
  if (model.has(id::kPrintWindow)) {
    auto* window = new PrintWindow(forms, s->window());
    QObject::connect(s, &QObject::destroyed, [window] { delete window; });
  }
}

void buildEditorOnMenuScreen(ScreenKit& kit, QWidget*) {
  const ui::Controls& model = kit.model;
  auto* panel = qobject_cast<QFrame*>(kit.binder.widget(id::kPanelEditorData));
  if (!panel) return;
  using namespace size;
  if (!model.has(id::kDataNew)) return;  // not an editor
  std::vector<const char*> buttons;
  for (auto b : {id::kDataNew, id::kDataLoad, id::kDataSave, id::kDataReturn, id::kDataClose,
                 id::kDataFromWords, id::kDataIpuz, id::kDataPrint})
    if (model.has(b)) buttons.push_back(b);
  const int rows = int(buttons.size());
  const int statusHeight = 24;
  const int height = columnHeight(rows) + statusHeight;
  panel->setGeometry(categoryLeft(0), kCategoryTop - height, kCategoryWidth, height);
  int i = 0;
  for (const char* b : buttons)
    kit.forms.button(b, panel, QRect(4, 4 + kRow * i++, kCategoryWidth - 8, kButtonHeight));
  const int statusTop = columnHeight(rows) - 2;
  kit.forms.caption(panel, QRect(8, statusTop, 40, 20), "Data:", style::kYellow);
  Aspects look;
  look.style = true;
  look.color = style::kLime;
  QLabel* status = kit.forms.label(
      id::kDataStatus, panel, QRect(50, statusTop, kCategoryWidth - 58, 20), style::kLime, look);
  // Read as "Data: Uložená".
  kit.binder.watch(id::kDataStatus, [status](const ui::Control& c) {
    status->setAccessibleName("Data: " + q(c.text));
  });
}

}  // namespace tervano::qt
