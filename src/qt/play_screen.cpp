// The play screen: what the player sees of the crossword in play.
#include <QGroupBox>
#include <algorithm>

#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/play.h"

namespace tervano::qt {

namespace {
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

QWidget* buildPlayScreen(ScreenKit& kit, QWidget* window) {
  Forms& forms = kit.forms;
  Binder& binder = kit.binder;
  auto* s = new QWidget(window);
  s->setGeometry(0, 0, size::kWidth, size::kHeight);
  Aspects background;
  background.visible = false;
  background.enabled = false;
  binder.bind(id::kBackground, s, background);
  s->setAccessibleName("Hrací plocha");
  kit.router.addDragHandle(s);

  // Counters: caption at the left, value at 96.
  struct Counter {
    const char* caption;
    const char* captionId;
    const char* valueId;
    int top;
    QColor color;
  };
  const Counter counters[] = {
      {"Body:", nullptr, id::kPoints, 8, style::kYellow},
      {"Ročník:", id::kGradeCaption, id::kGrade, 56, style::kBlue},
      {"Křížovka:", nullptr, id::kCrossword, 80, style::kBlue},
      {"Dobře:", nullptr, id::kGood, 128, style::kLime},
      {"Špatně:", nullptr, id::kBad, 152, style::kRed},
  };
  // A value is named after its caption: "Body: 140".
  auto nameValue = [&forms](QLabel* value, const char* valueId, QLabel* caption,
                            const char* captionId = nullptr) {
    forms.nameBy(value, {valueId, captionId},
                 [value, caption] { return Forms::counted(caption->text(), value->text()); });
  };
  for (const auto& c : counters) {
    QLabel* caption = nullptr;
    if (c.captionId) {
      caption = forms.label(c.captionId, s, QRect(8, c.top, 80, 16), c.color);
    } else {
      // A caption without a control of its own comes and goes with its value.
      caption = forms.caption(s, QRect(8, c.top, 80, 16), c.caption, c.color);
      binder.watch(c.valueId, [caption](const ui::Control& v) { caption->setVisible(v.visible); });
    }
    nameValue(forms.label(c.valueId, s, QRect(96, c.top, 120, 16), c.color), c.valueId, caption,
              c.captionId);
  }
  Aspects pointable;  // the editor gives it the hand cursor
  pointable.style = true;
  QLabel* languageCaption =
      forms.label(id::kLanguageCaption, s, QRect(8, 186, 40, 16), style::kLime, pointable);
  nameValue(forms.label(id::kLanguage, s, QRect(48, 186, 240, 16), style::kLime), id::kLanguage,
            languageCaption, id::kLanguageCaption);

  // The word count in large figures with a lime "X" after it.
  auto* count = forms.label(id::kWordCountBig, s, QRect(224, 32, 40, 52), style::kLime);
  QFont big = style::sans();
  big.setPixelSize(43);
  count->setFont(big);
  auto* x = forms.caption(s, QRect(264, 40, 24, 36), "X", style::kLime);
  QFont mid = style::sans();
  mid.setPixelSize(28);
  x->setFont(mid);
  binder.watch(id::kWordCountBig, [count, x](const ui::Control&) {
    count->adjustSize();
    x->adjustSize();
    x->move(std::max(264, count->x() + count->width() + 2), 40);
  });
  forms.nameBy(count, {id::kWordCountBig},
               [count] { return Forms::counted("Počet slov křížovky", count->text()); });
  x->setAccessibleName("krát");

  // Scoring of the crossword in play.
  auto* scoring = new QGroupBox(s);
  scoring->setGeometry(296, 8, 289, 137);
  binder.bind(id::kScoringGroup, scoring, Aspects{},
              [scoring](const ui::Control& c) { scoring->setTitle(q(c.text)); });
  struct Score {
    const char* captionId;  // the four scoring captions are controls: the editor points at them
    const char* caption;
    const char* id;
    const char* sign;
  };
  const Score scores[] = {
      {id::kScoreGoodCaption, nullptr, id::kScoreGood, "+"},
      {id::kScoreBadCaption, nullptr, id::kScoreBad, "-"},
      {id::kScoreGoodTajenkaCaption, nullptr, id::kScoreGoodTajenka, "+"},
      {id::kScoreBadTajenkaCaption, nullptr, id::kScoreBadTajenka, "-"},
      {nullptr, "Počet slov křížovky:", id::kScoreWordCount, ""},
  };
  int top = 24;
  for (const auto& sc : scores) {
    QLabel* caption =
        sc.captionId
            ? forms.label(sc.captionId, scoring, QRect(10, top, 228, 18), style::kLime, pointable)
            : forms.caption(scoring, QRect(10, top, 228, 18), sc.caption, style::kLime);
    auto* value = new QLabel(scoring);
    value->setTextFormat(Qt::PlainText);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setGeometry(238, top, 42, 18);
    style::setTextColor(value, style::kLime);
    const QString sign = sc.sign;
    binder.bind(sc.id, value, Aspects{},
                [value, sign](const ui::Control& c) { value->setText(sign + q(c.text)); });
    nameValue(value, sc.id, caption, sc.captionId);
    top += 22;
  }

  nameValue(
      forms.label(id::kCanGain, s, QRect(495, 162, 90, 16), style::kLime), id::kCanGain,
      forms.caption(s, QRect(304, 160, 190, 16), "Na této křížovce můžete získat:", style::kLime));
  nameValue(
      forms.label(id::kCanLose, s, QRect(495, 185, 90, 16), style::kRed), id::kCanLose,
      forms.caption(s, QRect(304, 184, 190, 16), "Na této křížovce můžete ztratit:", style::kRed));

  const auto on = Qt::ScrollBarAlwaysOn;
  const auto off = Qt::ScrollBarAlwaysOff;
  // Each area is named after the caption above it.
  struct Area {
    const char* caption;
    const char* id;
    QRect rect;
    bool editable;
    Qt::ScrollBarPolicy horizontal;
  };
  const Area areas[] = {
      {"Sem pište znění křížovky:", id::kAnswerArea, QRect(8, 232, 289, 121), true, off},
      {"Legenda:", id::kLegendArea, QRect(304, 232, 289, 121), false, on},
      {"Mapa křížovky:", id::kMapArea, QRect(8, 376, 289, 121), false, off},
  };
  for (const auto& a : areas) {
    forms.caption(s, QRect(a.rect.left(), a.rect.top() - 16, 289, 16), a.caption, style::kYellow);
    forms.area(a.id, s, a.rect, a.editable, style::kRed, on, a.horizontal)
        ->setAccessibleName(a.caption);
  }
  forms.button(id::kKontrola, s, QRect(400, 360, 75, 25));

  auto* progress = new QGroupBox(s);
  progress->setGeometry(304, 392, 185, 105);
  binder.bind(id::kProgressGroup, progress, Aspects{},
              [progress](const ui::Control& c) { progress->setTitle(q(c.text)); });
  struct Gauge {
    const char* id;
    const char* caption;
    int left;
  };
  for (const Gauge& g :
       {Gauge{id::kGaugeGrades, "Ročníky:", 20}, Gauge{id::kGaugeCrosswords, "Tervano:", 105}}) {
    forms.caption(progress, QRect(g.left - 10, 18, 80, 16), g.caption, style::kLime, 8,
                  Qt::AlignCenter);
    auto* gauge = new PieGauge(progress);
    gauge->setGeometry(g.left, 36, 60, 60);
    binder.bind(g.id, gauge, Aspects{}, [gauge](const ui::Control& c) {
      gauge->setRange(c.minimum, c.maximum);
      gauge->setValue(c.value);
      gauge->setToolTip(QString("%1 / %2").arg(c.value).arg(c.maximum));
    });
    const QString caption = g.caption;
    forms.nameBy(gauge, {g.id},
                 [gauge, caption] { return Forms::counted(caption, gauge->toolTip()); });
  }
  forms.button(id::kShowMenu, s, QRect(-1, 521, 89, 25));
  buildEditorOnPlayScreen(kit, s);
  buildScriptPanel(kit, s);
  // Shown last: widgets added to a shown parent would stay hidden.
  s->show();
  return s;
}

}  // namespace tervano::qt
