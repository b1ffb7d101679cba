#include "ui/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <filesystem>

#include "app/menu.h"
#include "ui/ids.h"
#include "ui/qt/side_windows.h"
#include "ui/qt/style.h"
#include "ui/qt/widgets.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

constexpr int kWidth = 598;
constexpr int kHeight = 543;

// Command panels: a column of buttons opening over the button that opens them.
constexpr int kRow = 28;
constexpr int kButtonHeight = 26;
int columnHeight(int rows) {
  return 4 + rows * kRow + 2;
}

// The category row at the bottom of the menu screen and the editor bar in its place.
constexpr int kCategoryTop = 507;
constexpr int kCategoryWidth = 144;
constexpr int kCategoryHeight = 28;
constexpr int categoryLeft(int i) {
  return 5 + i * (kCategoryWidth + 4);
}

// Reports the focus of an entry as Focus events (1 gained, 0 lost).
class FocusReporter : public QObject {
 public:
  FocusReporter(std::string id, Forms& forms, QObject* parent)
      : QObject(parent), id_(std::move(id)), forms_(forms) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusIn) forms_.send({Kind::Focus, id_, {}, 1});
    if (e->type() == QEvent::FocusOut) forms_.send({Kind::Focus, id_, {}, 0});
    return false;
  }

 private:
  std::string id_;
  Forms& forms_;
};

// A mode-button picture: a glyph strip keeps its first glyph, and the colour of the lower left
// pixel is transparent, as bitmap glyphs of buttons are drawn.
QIcon glyph(const std::filesystem::path& file) {
  QImage image(QString::fromStdString(file.string()));
  if (image.isNull()) return {};
  if (image.height() > 0 && image.width() > image.height() && image.width() % image.height() == 0)
    image = image.copy(0, 0, image.height(), image.height());
  QPixmap pixmap = QPixmap::fromImage(image);
  const QColor key = image.pixelColor(0, image.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
  return QIcon(pixmap);
}

}  // namespace

MainWindow::MainWindow(app::Application& app, std::function<bool()> quitRequested)
    : app_(app),
      quitRequested_(std::move(quitRequested)),
      forms_(binder_, [this](const app::Event& e) { dispatch(e); }) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(kWidth, kHeight);
  style::applyWindowLook(this);
  router_ = new InputRouter(
      binder_, [this](const app::Event& e) { dispatch(e); }, this);
  router_->addWindow(this);
  router_->addDragHandle(this);
  router_->reportDoubleClick(id::kHelpAdvice);
  router_->reportDoubleClick(id::kHelpKeys);
  buildShortcuts();
  bindWindow();
  // The screens themselves are built by the first sync, the hidden ones after the first paint.
}

MainWindow::~MainWindow() {
  // The widgets report to the binder and the application, which go before the widgets would:
  // nothing they send while they are taken down may reach them.
  destroying_ = true;
  delete router_;
  router_ = nullptr;
  help_.reset();
  about_.reset();
  chooser_.reset();
  viewer_.reset();
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    delete child;
}

void MainWindow::buildPlayScreen() {
  auto* s = new QWidget(this);
  s->setGeometry(0, 0, kWidth, kHeight);
  playScreen_ = s;
  Aspects background;
  background.visible = false;
  background.enabled = false;
  binder_.bind(id::kBackground, s, background);
  router_->addDragHandle(s);

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
  for (const auto& c : counters) {
    if (c.captionId)
      forms_.label(c.captionId, s, QRect(8, c.top, 80, 16), c.color);
    else
      forms_.caption(s, QRect(8, c.top, 80, 16), c.caption, c.color);
    forms_.label(c.valueId, s, QRect(96, c.top, 120, 16), c.color);
  }
  forms_.label(id::kLanguageCaption, s, QRect(8, 186, 40, 16), style::kLime);
  forms_.label(id::kLanguage, s, QRect(48, 186, 240, 16), style::kLime);
  // Editor inputs that the pointer over "Ročník:" and "Jazyk:" opens.
  forms_.spin("gradeSpin", s, QRect(150, 52, 64, 22), 1);
  forms_.combo("languageBox", s, QRect(90, 182, 160, 22));

  // The word count in large figures with a lime "X" after it.
  auto* count = forms_.label(id::kWordCountBig, s, QRect(224, 32, 40, 52), style::kLime);
  QFont big = style::sans();
  big.setPixelSize(43);
  count->setFont(big);
  auto* x = forms_.caption(s, QRect(264, 40, 24, 36), "X", style::kLime);
  QFont mid = style::sans();
  mid.setPixelSize(28);
  x->setFont(mid);
  binder_.watch(id::kWordCountBig, [count, x](const ui::Control&) {
    count->adjustSize();
    x->adjustSize();
    x->move(std::max(264, count->x() + count->width() + 2), 40);
  });

  // Scoring of the crossword in play.
  auto* scoring = new QGroupBox(s);
  scoring->setGeometry(296, 8, 289, 137);
  binder_.bind(id::kScoringGroup, scoring, Aspects{},
               [scoring](const ui::Control& c) { scoring->setTitle(q(c.text)); });
  struct Score {
    const char* caption;
    const char* id;
    const char* sign;
    const char* spin;
  };
  const Score scores[] = {
      {"Za každé správné slovo:", id::kScoreGood, "+", "scoreSpinGood"},
      {"Za každé špatné slovo:", id::kScoreBad, "-", "scoreSpinBad"},
      {"Za vyluštěnou tajenku:", id::kScoreGoodTajenka, "+", "scoreSpinGoodTajenka"},
      {"Za nevyluštěnou tajenku:", id::kScoreBadTajenka, "-", "scoreSpinBadTajenka"},
      {"Počet slov křížovky:", id::kScoreWordCount, "", nullptr},
  };
  int top = 24;
  for (const auto& sc : scores) {
    forms_.caption(scoring, QRect(12, top, 190, 18), sc.caption, style::kLime);
    auto* value = new QLabel(scoring);
    value->setTextFormat(Qt::PlainText);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setGeometry(196, top, 80, 18);
    style::setTextColor(value, style::kLime);
    const QString sign = sc.sign;
    binder_.bind(sc.id, value, Aspects{},
                 [value, sign](const ui::Control& c) { value->setText(sign + q(c.text)); });
    if (sc.spin) forms_.spin(sc.spin, scoring, QRect(206, top - 2, 70, 22), 1);
    top += 22;
  }

  forms_.caption(s, QRect(304, 160, 190, 16), "Na této křížovce můžete získat:", style::kLime);
  forms_.label(id::kCanGain, s, QRect(495, 162, 90, 16), style::kLime);
  forms_.caption(s, QRect(304, 184, 190, 16), "Na této křížovce můžete ztratit:", style::kRed);
  forms_.label(id::kCanLose, s, QRect(495, 185, 90, 16), style::kRed);

  const auto on = Qt::ScrollBarAlwaysOn;
  const auto off = Qt::ScrollBarAlwaysOff;
  forms_.caption(s, QRect(8, 216, 289, 16), "Sem pište znění křížovky:", style::kYellow);
  forms_.area(id::kAnswerArea, s, QRect(8, 232, 289, 121), true, style::kRed, on, off);
  forms_.caption(s, QRect(304, 216, 289, 16), "Legenda:", style::kYellow);
  forms_.area(id::kLegendArea, s, QRect(304, 232, 289, 121), false, style::kRed, on, on);
  forms_.caption(s, QRect(8, 360, 289, 16), "Mapa křížovky:", style::kYellow);
  forms_.area(id::kMapArea, s, QRect(8, 376, 289, 121), false, style::kRed, on, off);
  forms_.button(id::kKontrola, s, QRect(400, 360, 75, 25));

  auto* progress = new QGroupBox("Jak daleko již jste ...", s);
  progress->setGeometry(304, 392, 185, 105);
  forms_.caption(progress, QRect(10, 18, 80, 16), "Ročníky:", style::kLime, 8, Qt::AlignCenter);
  forms_.caption(progress, QRect(95, 18, 80, 16), "Tervano:", style::kLime, 8, Qt::AlignCenter);
  for (auto [gaugeId, left] : {std::pair{id::kGaugeGrades, 20}, {id::kGaugeCrosswords, 105}}) {
    auto* gauge = new PieGauge(progress);
    gauge->setGeometry(left, 36, 60, 60);
    binder_.bind(gaugeId, gauge, Aspects{}, [gauge](const ui::Control& c) {
      gauge->setRange(c.minimum, c.maximum);
      gauge->setValue(c.value);
      gauge->setToolTip(QString("%1 / %2").arg(c.value).arg(c.maximum));
    });
  }
  forms_.button(id::kShowMenu, s, QRect(-1, 521, 89, 25));
  // Shown last: widgets added to a shown parent would stay hidden.
  s->show();
}

void MainWindow::buildMenuScreen() {
  auto* m = new QWidget(this);
  m->setGeometry(0, 0, kWidth, kHeight);
  m->setAutoFillBackground(true);
  menuScreen_ = m;
  Aspects menu;
  menu.size = true;
  binder_.bind(id::kMenuScreen, m, menu);
  router_->addDragHandle(m);

  auto* motif = new CrosswordMotif(m);
  motif->setGeometry(131, 44, 336, 336);

  auto* lower = new QFrame(m);
  lower->setObjectName("menuLower");
  lower->setStyleSheet("QFrame#menuLower { border-top: 1px solid #004040; }");
  lower->setGeometry(0, 404, kWidth, kHeight - 404);
  Aspects band;
  band.visible = false;
  band.enabled = false;
  binder_.bind(id::kMenuLower, lower, band);
  router_->addDragHandle(lower);

  auto* title = new QLabel(m);
  title->setTextFormat(Qt::PlainText);
  title->setFont(style::sans(22));
  style::setTextColor(title, style::kYellow);
  binder_.bind(id::kTitle, title, Aspects{}, [title](const ui::Control& c) {
    title->setText(q(c.text));
    title->adjustSize();
    title->move((kWidth - title->width()) / 2, 432);
  });

  const char* categories[] = {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings};
  for (int i = 0; i < 4; ++i) {
    forms_.button(categories[i], m,
                  QRect(categoryLeft(i), kCategoryTop, kCategoryWidth, kCategoryHeight));
    router_->reportPress(categories[i]);
  }

  auto* bar = new QFrame(m);
  bar->setGeometry(0, kCategoryTop - 4, kWidth, kCategoryHeight + 8);
  binder_.bind(id::kEditorBar, bar, Aspects{});
  const char* editorCategories[] = {id::kCatEditorData, id::kCatToolExit, id::kCatSetMusic};
  for (int i = 0; i < 3; ++i)
    forms_.button(editorCategories[i], bar,
                  QRect(categoryLeft(i), 4, kCategoryWidth, kCategoryHeight));
  // "Sada ..." belongs to the set music configuration, which no mode offers: never shown.
  if (auto* setMusic = binder_.widget(id::kCatSetMusic))
    binder_.watch(id::kCatSetMusic, [setMusic](const ui::Control&) { setMusic->hide(); });

  forms_.button(id::kTools, m, QRect(392, 8, 198, 26));
  buildMenuPanels(m);
  m->show();
}

void MainWindow::buildMenuPanels(QWidget* m) {
  // A column of buttons opening upwards from a category button.
  auto column = [&](const char* panelId, int left, int width, int bottom,
                    std::initializer_list<const char*> buttons) {
    const int n = int(buttons.size());
    QFrame* p =
        forms_.panel(panelId, m, QRect(left, bottom - columnHeight(n), width, columnHeight(n)));
    int i = 0;
    for (const char* b : buttons)
      forms_.button(b, p, QRect(4, 4 + kRow * i++, width - 8, kButtonHeight));
    return p;
  };

  QFrame* game = column(id::kPanelGame, categoryLeft(0), kCategoryWidth, kCategoryTop,
                        {id::kNewGame, id::kNewGameSettings, id::kLoadGame, id::kSaveGame,
                         id::kReturnToGame, id::kEndGame});
  // The access code is typed beside "Nastavení+Nová hra".
  auto* code = forms_.entry(id::kAccessCode, m,
                            QRect(game->x() + game->width() + 4, game->y() + 4 + kRow, 90, 26));
  code->setMaxLength(16);
  code->setToolTip("Přístupový kód");

  column(id::kPanelHelp, categoryLeft(1), kCategoryWidth, kCategoryTop,
         {id::kHelp, id::kAbout, id::kCredits, id::kKeyList, id::kEula});
  if (auto* about = qobject_cast<QPushButton*>(binder_.widget(id::kAbout)))
    about->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
  column(id::kPanelApp, categoryLeft(2), kCategoryWidth, kCategoryTop, {id::kQuit});

  // Settings: the two switches side by side, "Zvuky a hudba", three check boxes with captions
  // of their own, "Automatické uložení".
  const int settingsHeight = 220;
  QFrame* settings = forms_.panel(
      id::kPanelSettings, m,
      QRect(categoryLeft(3), kCategoryTop - settingsHeight, kCategoryWidth, settingsHeight));
  struct Picture {
    const char* id;
    SwitchPicture::Kind kind;
    bool on;
    int left;
  };
  const Picture pictures[] = {
      {id::kSoundOnPic, SwitchPicture::Kind::Sound, true, 8},
      {id::kSoundOffPic, SwitchPicture::Kind::Sound, false, 8},
      {id::kMusicOnPic, SwitchPicture::Kind::Music, true, 76},
      {id::kMusicOffPic, SwitchPicture::Kind::Music, false, 76},
  };
  for (const auto& p : pictures) {
    auto* pic = new SwitchPicture(p.kind, p.on, settings);
    pic->setGeometry(p.left, 6, 60, 42);
    binder_.bind(p.id, pic, Aspects{});
    const std::string picId = p.id;
    connect(pic, &ClickLabel::clicked, this, [this, picId] { forms_.click(picId); });
  }
  forms_.button(id::kSoundsAndMusic, settings, QRect(6, 54, 132, kButtonHeight));
  struct Option {
    const char* box;
    const char* caption;
    int top;
  };
  const Option options[] = {
      {id::kErrorPerLine, id::kErrorPerLineCaption, 86},
      {id::kAskOverwrite, id::kAskOverwriteCaption, 120},
      {id::kNoScripts, id::kNoScriptsCaption, 154},
  };
  for (const auto& o : options) {
    forms_.check(o.box, settings, QRect(6, o.top + 6, 18, 18));
    auto* caption = forms_.clickLabel(o.caption, settings, QRect(26, o.top, 114, 30), style::kLime);
    caption->setWordWrap(true);
    caption->setCursor(Qt::PointingHandCursor);
  }
  auto* autosaveButton =
      forms_.button(id::kAutosaveButton, settings, QRect(6, 188, 132, kButtonHeight));

  // The autosave settings open to the left of their button and touch it.
  const QPoint anchor = autosaveButton->mapTo(m, QPoint(0, 0));
  const int autosaveWidth = 436;
  const int autosaveHeight = 134;
  QFrame* autosave =
      forms_.panel(id::kPanelAutosave, m,
                   QRect(anchor.x() - autosaveWidth, anchor.y() + kButtonHeight - autosaveHeight,
                         autosaveWidth, autosaveHeight));
  router_->reportEveryMove(id::kPanelAutosave);
  forms_.caption(autosave, QRect(12, 8, 150, 22), "Automatické uložení:", style::kYellow);
  forms_.check(id::kAutosaveOn, autosave, QRect(160, 8, 80, 22), true);
  forms_.caption(autosave, QRect(12, 40, 26, 24), "po:", style::kLime);
  QComboBox* trigger = forms_.combo(id::kAutosaveTrigger, autosave, QRect(40, 40, 240, 24));
  trigger->lineEdit()->installEventFilter(new FocusReporter(id::kAutosaveTrigger, forms_, trigger));
  QLabel* quotaText = forms_.caption(autosave, QRect(12, 72, 0, 0),
                                     "Obsah souboru nesmí překročit hranici:", style::kLime);
  quotaText->setFixedHeight(24);
  const int spinLeft = quotaText->x() + quotaText->width() + 6;
  forms_.spin(id::kAutosaveQuota, autosave, QRect(spinLeft, 72, 72, 24), 50);
  forms_.caption(autosave, QRect(spinLeft + 78, 72, 90, 24), "záznam(ů).", style::kLime);
  forms_.button(id::kAutosaveApply, autosave, QRect(12, 102, 116, kButtonHeight));

  // Tools open under their button at the top right.
  QWidget* tools = binder_.widget(id::kTools);
  QFrame* toolPanel = forms_.panel(
      id::kPanelTools, m,
      QRect(tools->x(), tools->y() + tools->height(), tools->width(), columnHeight(6)));
  const char* toolButtons[] = {id::kToolEditor,  id::kToolScriptEditor, id::kToolSets,
                               id::kToolMainApp, id::kToolAutosave,     id::kToolCrashLoad};
  for (int i = 0; i < 6; ++i)
    forms_.button(toolButtons[i], toolPanel,
                  QRect(4, 4 + kRow * i, tools->width() - 8, kButtonHeight));

  // The editor bar's panels.
  const int noteHeight = 64;
  QFrame* data =
      forms_.panel(id::kPanelEditorData, m,
                   QRect(categoryLeft(0), kCategoryTop - noteHeight, kCategoryWidth, noteHeight));
  auto* note = forms_.caption(data, QRect(8, 6, kCategoryWidth - 16, noteHeight - 12),
                              "Tento nástroj bude doplněn v další verzi.", style::kLime);
  note->setWordWrap(true);
  column(id::kPanelToolExit, categoryLeft(1), kCategoryWidth, kCategoryTop, {id::kToolQuit});
  QFrame* music = forms_.panel(
      id::kPanelSetMusic, m,
      QRect(categoryLeft(2), kCategoryTop - columnHeight(1), kCategoryWidth, columnHeight(1)));
  auto* sound = new QPushButton("Ozvučení", music);
  sound->setGeometry(4, 4, kCategoryWidth - 8, kButtonHeight);
  sound->setEnabled(false);

  // The record player.
  QFrame* player = forms_.panel(id::kPanelRecordPlayer, m, QRect(99, 112, 400, 176));
  forms_.caption(player, QRect(14, 10, 372, 22), "Přehrávač záznamů pro hru Tervano",
                 style::kYellow, 11);
  forms_.caption(player, QRect(14, 42, 372, 18), "Přehrávaný soubor:", style::kLime);
  auto* file = new QLabel(player);
  file->setTextFormat(Qt::PlainText);
  file->setGeometry(14, 62, 372, 18);
  style::setTextColor(file, style::kAqua);
  binder_.bind(id::kRecordFile, file, Aspects{}, [file](const ui::Control& c) {
    const QString path = q(c.text);
    file->setText(file->fontMetrics().elidedText(path, Qt::ElideMiddle, file->width()));
    file->setToolTip(path);
  });
  const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause,
                                          QStyle::SP_MediaStop};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(player);
    b->setIcon(QApplication::style()->standardIcon(icons[i]));
    b->setGeometry(14 + i * 48, 98, 42, 30);
    b->setEnabled(false);
  }
  forms_.button(id::kRecordBack, player, QRect(296, 136, 90, 28));

  // The credits: a header strip with the title and "X", a body in which the labels scroll.
  QFrame* credits = forms_.panel(id::kPanelCredits, m, QRect(119, 120, 360, 24 + 152 + 2));
  auto* header = new QFrame(credits);
  header->setGeometry(1, 1, 358, 24);
  header->setObjectName("creditsHeader");
  header->setStyleSheet(
      "QFrame#creditsHeader { border-bottom: 1px solid #008080; background: #001818; }");
  Aspects titleLook;
  titleLook.style = true;
  titleLook.color = style::kAqua;
  titleLook.pointSize = 10;
  forms_.label(id::kCreditsTitle, header, QRect(8, 2, 200, 20), style::kAqua, titleLook);
  Aspects closeLook;
  closeLook.style = true;
  closeLook.color = style::kYellow;
  auto* close = forms_.clickLabel(id::kCreditsClose, header, QRect(336, 3, 16, 18), style::kYellow,
                                  closeLook);
  close->setAlignment(Qt::AlignCenter);
  auto* body = new QWidget(credits);
  body->setGeometry(1, 25, 358, 152);
  Aspects scrolling;
  scrolling.style = true;
  scrolling.move = true;
  scrolling.color = style::kRed;
  scrolling.pointSize = 16;
  forms_.label(id::kCreditsCaption, body, {}, style::kRed, scrolling);
  scrolling.color = style::kLime;
  forms_.label(id::kCreditsName, body, {}, style::kLime, scrolling);
}

void MainWindow::buildToolScreen() {
  auto* t = new QFrame(this);
  t->setObjectName("toolScreen");
  t->setGeometry(0, 0, kWidth, kHeight);
  toolScreen_ = t;
  binder_.bind("panelTool", t, Aspects{});
  router_->addDragHandle(t);
  auto* motif = new CrosswordMotif(t);
  motif->setGeometry(219, 60, 160, 160);
  auto* heading =
      forms_.caption(t, QRect(0, 240, kWidth, 34), "", style::kYellow, 16, Qt::AlignCenter);
  binder_.watch(id::kWindowTitle, [heading](const ui::Control& c) { heading->setText(q(c.text)); });
  forms_.caption(t, QRect(0, 282, kWidth, 20), "Tento nástroj bude doplněn v další verzi.",
                 style::kLime, 8, Qt::AlignCenter);
  const bool sets = app_.mode() == app::Mode::Sets;
  const bool autosave =
      app_.mode() == app::Mode::AutosaveManager || app_.mode() == app::Mode::AutosaveLoad;
  for (auto [buttonId, mine] :
       {std::pair{id::kSetPanelMainApp, sets}, {id::kAutosavePanelMainApp, autosave}}) {
    QPushButton* b = forms_.button(buttonId, t, QRect((kWidth - 170) / 2, 330, 170, 32));
    if (!mine) binder_.watch(buttonId, [b](const ui::Control&) { b->hide(); });
  }
  t->show();
}

void MainWindow::buildShortcuts() {
  for (const auto& s : app::shortcuts()) {
    auto* action = new QAction(this);
    const QString key = QString::fromUtf8(s.key.data(), qsizetype(s.key.size()));
    action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    const std::string keyName(s.key);
    connect(action, &QAction::triggered, this, [this, keyName] { dispatch({Kind::Key, keyName}); });
    binder_.watch(s.item, [action](const ui::Control& c) { action->setEnabled(c.enabled); });
  }
}

void MainWindow::bindWindow() {
  binder_.watch(id::kMainWindow, [this](const ui::Control& c) {
    if (isEnabled() == c.enabled) return;
    setEnabled(c.enabled);
    if (c.enabled && isVisible()) activateWindow();
  });
  binder_.watch(id::kWindowTitle, [this](const ui::Control& c) { setWindowTitle(q(c.text)); });
  binder_.watch("windowIcon", [this](const ui::Control& c) {
    QIcon icon;
    if (c.text.empty()) {
      if (QFile::exists(":/tervano/tervano.png")) icon = QIcon(":/tervano/tervano.png");
    } else {
      const auto file = app_.folder().resolve(c.text);
      if (std::filesystem::is_regular_file(file)) icon = QIcon(q(file.string()));
    }
    setWindowIcon(icon);
    for (QWidget* w : {static_cast<QWidget*>(help_.get()), static_cast<QWidget*>(about_.get()),
                       static_cast<QWidget*>(chooser_.get())})
      if (w) w->setWindowIcon(icon);
  });
  binder_.watch("modeButtonPictures", [this](const ui::Control& c) {
    const std::pair<const char*, const char*> pictures[] = {
        {id::kToolEditor, "Ikony\\editor.bmp"},
        {id::kToolSets, "Ikony\\sady.bmp"},
        {id::kToolScriptEditor, "Ikony\\parametry.bmp"},
        {id::kToolMainApp, "Ikony\\kr1.bmp"},
        {id::kSetPanelMainApp, "Ikony\\kr1.bmp"},
        {id::kAutosavePanelMainApp, "Ikony\\kr1.bmp"},
        {id::kToolAutosave, "Ikony\\havarie.bmp"},
        {id::kToolCrashLoad, "Ikony\\havarie.bmp"},
    };
    for (const auto& [buttonId, file] : pictures) {
      auto* b = qobject_cast<QPushButton*>(binder_.widget(buttonId));
      if (!b) continue;
      b->setIcon(c.visible ? glyph(app_.folder().resolve(file)) : QIcon());
      b->setIconSize(QSize(18, 18));
    }
  });
}

void MainWindow::ensureBuilt() {
  const auto& c = app_.controls();
  if (menuScreen_ && toolScreen_ && playScreen_ && help_) return;
  const bool menu = c.visible(id::kMenuScreen);
  const bool tool = c.visible("panelTool");
  bool built = false;
  if (!menuScreen_ && menu) {
    buildMenuScreen();
    built = true;
  }
  if (!toolScreen_ && tool) {
    buildToolScreen();
    built = true;
  }
  if (!playScreen_ && !menu && !tool) {
    buildPlayScreen();
    built = true;
  }
  if (!help_ &&
      (c.visible(id::kHelpWindow) || c.visible(id::kAboutWindow) || c.visible(id::kChooserWindow)))
    buildSideWindows();
  if (built) {
    restack();
    // Controls shown by more than one part (the mode-button pictures) reach the new part too.
    binder_.invalidate();
  }
}

void MainWindow::completeBuild() {
  if (playScreen_ && menuScreen_ && toolScreen_ && help_) return;
  router_->pause(true);
  if (!playScreen_) buildPlayScreen();
  if (!menuScreen_) buildMenuScreen();
  if (!toolScreen_) buildToolScreen();
  if (!help_) buildSideWindows();
  restack();
  binder_.invalidate();
  router_->pause(false);
  sync();
}

void MainWindow::buildSideWindows() {
  help_ = std::make_unique<HelpWindow>(forms_, this);
  about_ = std::make_unique<AboutWindow>(forms_, this);
  chooser_ = std::make_unique<ChooserWindow>(forms_, this);
  for (QWidget* w : {static_cast<QWidget*>(help_.get()), static_cast<QWidget*>(about_.get()),
                     static_cast<QWidget*>(chooser_.get())}) {
    router_->addWindow(w);
    router_->addDragHandle(w);
    w->setWindowIcon(windowIcon());
  }
}

void MainWindow::restack() {
  // The set and autosave tools take the whole window; the editors keep their menu screen.
  const app::Mode mode = app_.mode();
  const bool toolOnTop = mode == app::Mode::Sets || mode == app::Mode::AutosaveManager ||
                         mode == app::Mode::AutosaveLoad;
  if (playScreen_) playScreen_->raise();
  if (toolScreen_ && !toolOnTop) toolScreen_->raise();
  if (menuScreen_) menuScreen_->raise();
  if (toolScreen_ && toolOnTop) toolScreen_->raise();
}

bool MainWindow::event(QEvent* e) {
  // What is hidden is built once the window is on the screen, so it appears sooner.
  if (e->type() == QEvent::Paint && !restScheduled_) {
    restScheduled_ = true;
    QTimer::singleShot(0, this, [this] { completeBuild(); });
  }
  return QWidget::event(e);
}

void MainWindow::sync() {
  if (destroying_) return;
  // Widgets the model shows or hides under a resting pointer are not something the user pointed
  // at; reporting them here would also run a command in the middle of this one.
  router_->pause(true);
  ensureBuilt();
  binder_.sync(app_.controls());
  router_->pause(false);
  syncTimers();
}

void MainWindow::syncTimers() {
  for (const auto& [timerId, t] : app_.controls().timers()) {
    // Timers that only mirror state on screen are done by the application after every command.
    if (t.onChange) continue;
    auto it = timers_.find(timerId);
    if (it == timers_.end()) {
      auto* timer = new QTimer(this);
      timer->setObjectName(QString::fromStdString(timerId));
      const std::string name = timerId;
      connect(timer, &QTimer::timeout, this, [this, name] { dispatch({Kind::Tick, name}); });
      it = timers_.emplace(timerId, Mirror{timer, 0, 0}).first;
    }
    Mirror& m = it->second;
    if (!t.running) {
      if (m.timer->isActive()) m.timer->stop();
      continue;
    }
    if (!m.timer->isActive() || m.generation != t.generation || m.interval != t.intervalMs) {
      m.generation = t.generation;
      m.interval = t.intervalMs;
      m.timer->setTimerType(t.intervalMs < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
      m.timer->start(std::max(1, t.intervalMs));
    }
  }
}

void MainWindow::dispatch(const app::Event& event) {
  if (destroying_) return;
  if (observer_) observer_(event);
  ++depth_;
  app_.dispatch(event);
  --depth_;
  sync();
  // A box of the outer command may still be open: the program ends when that command returns.
  if (depth_ == 0) quitIfRequested();
}

void MainWindow::openDocument(const std::string& path) {
  if (!viewer_) viewer_ = std::make_unique<DocumentViewer>();
  viewer_->open(path);
}

void MainWindow::quitIfRequested() {
  if (!quitRequested_ || !quitRequested_() || closing_) return;
  closing_ = true;
  for (QWidget* w : {static_cast<QWidget*>(help_.get()), static_cast<QWidget*>(about_.get()),
                     static_cast<QWidget*>(chooser_.get()), static_cast<QWidget*>(viewer_.get())})
    if (w) w->hide();
  // hide, not close: this may run inside the window's own close event.
  hide();
  QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  dispatch({Kind::CloseRequest, {}});
  if (closing_) event->accept();
}

}  // namespace tervano::qt
