// The menu screen: category buttons, command panels, the settings with the autosave settings,
// the tools, the record player and the credits.
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>

#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/menu.h"
#include "ui/ids/play.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;
using namespace size;

QString q(const std::string& s) {
  return QString::fromStdString(s);
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

void buildMenuPanels(ScreenKit& kit, QWidget* m);

}  // namespace

QWidget* buildMenuScreen(ScreenKit& kit, QWidget* window) {
  Forms& forms = kit.forms;
  Binder& binder = kit.binder;
  auto* m = new QWidget(window);
  m->setGeometry(0, 0, kWidth, kHeight);
  m->setAutoFillBackground(true);
  Aspects menu;
  menu.size = true;
  binder.bind(id::kMenuScreen, m, menu);
  m->setAccessibleName("Hlavní nabídka");
  kit.router.addDragHandle(m);

  auto* motif = new CrosswordMotif(m);
  motif->setGeometry(131, 44, 336, 336);
  motif->setAccessibleName("Tervano");

  auto* lower = new style::EdgedFrame(m, Qt::TopEdge, style::kRule);
  lower->setGeometry(0, 404, kWidth, kHeight - 404);
  Aspects band;
  band.visible = false;
  band.enabled = false;
  binder.bind(id::kMenuLower, lower, band);
  lower->setAccessibleName("Pruh nabídky");
  kit.router.addDragHandle(lower);

  auto* title = new QLabel(m);
  title->setTextFormat(Qt::PlainText);
  title->setFont(style::sans(22));
  style::setTextColor(title, style::kYellow);
  binder.bind(id::kTitle, title, Aspects{}, [title](const ui::Control& c) {
    title->setText(q(c.text));
    title->adjustSize();
    title->move((kWidth - title->width()) / 2, 432);
  });

  const char* categories[] = {id::kCatGame, id::kCatHelp, id::kCatApp, id::kCatSettings};
  for (int i = 0; i < 4; ++i) {
    forms.button(categories[i], m,
                 QRect(categoryLeft(i), kCategoryTop, kCategoryWidth, kCategoryHeight));
    kit.router.reportPress(categories[i]);
  }

  auto* bar = new QFrame(m);
  bar->setGeometry(0, kCategoryTop - 4, kWidth, kCategoryHeight + 8);
  binder.bind(id::kEditorBar, bar, Aspects{});
  bar->setAccessibleName("Lišta editoru");
  const char* editorCategories[] = {id::kCatEditorData, id::kCatToolExit, id::kCatSetMusic};
  for (int i = 0; i < 3; ++i)
    forms.button(editorCategories[i], bar,
                 QRect(categoryLeft(i), 4, kCategoryWidth, kCategoryHeight));

  forms.button(id::kTools, m, QRect(392, 8, 198, 26));
  buildMenuPanels(kit, m);
  buildEditorOnMenuScreen(kit, m);
  m->show();
  return m;
}

namespace {

// What the panels of the menu screen share: the screen, the forms and the two shapes of panel.
struct MenuPanels {
  ScreenKit& kit;
  QWidget* m;
  Forms& forms = kit.forms;
  Binder& binder = kit.binder;

  // A panel is named after the category that opens it.
  QFrame* panel(const char* panelId, const QRect& r, const char* name) const {
    QFrame* p = forms.panel(panelId, m, r);
    p->setAccessibleName(name);
    return p;
  }
  // A column of buttons opening upwards from a category button.
  QFrame* column(const char* panelId, const char* name, int left, int width, int bottom,
                 std::initializer_list<const char*> buttons) const {
    const int n = int(buttons.size());
    QFrame* p = panel(panelId, QRect(left, bottom - columnHeight(n), width, columnHeight(n)), name);
    int i = 0;
    for (const char* b : buttons)
      forms.button(b, p, QRect(4, 4 + kRow * i++, width - 8, kButtonHeight));
    return p;
  }
};

void buildGamePanel(const MenuPanels& panels) {
  Forms& forms = panels.forms;
  QWidget* m = panels.m;
  QFrame* game = panels.column(id::kPanelGame, "Hra", categoryLeft(0), kCategoryWidth, kCategoryTop,
                               {id::kNewGame, id::kNewGameSettings, id::kLoadGame, id::kSaveGame,
                                id::kReturnToGame, id::kEndGame});
  // The access code is typed beside "Nastavení+Nová hra".
  auto* code = forms.entry(id::kAccessCode, m,
                           QRect(game->x() + game->width() + 4, game->y() + 4 + kRow, 90, 26));
  code->setMaxLength(16);
  code->setToolTip("Přístupový kód");
  code->setAccessibleName("Přístupový kód");
}

void buildHelpAndAppPanels(const MenuPanels& panels) {
  Binder& binder = panels.binder;
  panels.column(id::kPanelHelp, "Pomoc", categoryLeft(1), kCategoryWidth, kCategoryTop,
                {id::kHelp, id::kAbout, id::kCredits, id::kKeyList, id::kEula});
  if (auto* about = qobject_cast<QPushButton*>(binder.widget(id::kAbout)))
    about->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
  panels.column(id::kPanelApp, "Aplikace", categoryLeft(2), kCategoryWidth, kCategoryTop,
                {id::kQuit});
}

// Returns the button that opens the autosave settings.
QPushButton* buildSettingsPanel(const MenuPanels& panels) {
  Forms& forms = panels.forms;
  Binder& binder = panels.binder;
  // Settings: the two switches side by side, "Zvuky a hudba", three check boxes with captions
  // of their own, "Automatické uložení".
  const int settingsHeight = 220;
  QFrame* settings = panels.panel(
      id::kPanelSettings,
      QRect(categoryLeft(3), kCategoryTop - settingsHeight, kCategoryWidth, settingsHeight),
      "Nastavení");
  struct Picture {
    const char* id;
    SwitchPicture::Kind kind;
    bool on;
    int left;
    const char* name;  // what the picture shows
  };
  const Picture pictures[] = {
      {id::kSoundOnPic, SwitchPicture::Kind::Sound, true, 8, "Zvuky zapnuty"},
      {id::kSoundOffPic, SwitchPicture::Kind::Sound, false, 8, "Zvuky vypnuty"},
      {id::kMusicOnPic, SwitchPicture::Kind::Music, true, 76, "Hudba zapnuta"},
      {id::kMusicOffPic, SwitchPicture::Kind::Music, false, 76, "Hudba vypnuta"},
  };
  for (const auto& p : pictures) {
    auto* pic = new SwitchPicture(p.kind, p.on, settings);
    pic->setGeometry(p.left, 6, 60, 42);
    pic->setAccessibleName(p.name);
    binder.bind(p.id, pic, Aspects{});
    const std::string picId = p.id;
    QObject::connect(pic, &ClickLabel::clicked, pic, [&forms, picId] { forms.click(picId); });
  }
  forms.button(id::kSoundsAndMusic, settings, QRect(6, 54, 132, kButtonHeight));
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
    QCheckBox* box = forms.check(o.box, settings, QRect(6, o.top + 6, 18, 18));
    auto* caption = forms.clickLabel(o.caption, settings, QRect(26, o.top, 114, 30), style::kLime);
    caption->setWordWrap(true);
    caption->setCursor(Qt::PointingHandCursor);
    // The box has no text: it is named after its caption beside it.
    forms.nameBy(box, {o.caption}, [caption] { return caption->text(); });
  }
  return forms.button(id::kAutosaveButton, settings, QRect(6, 188, 132, kButtonHeight));
}

void buildAutosavePanel(const MenuPanels& panels, QPushButton* autosaveButton) {
  Forms& forms = panels.forms;
  QWidget* m = panels.m;
  // The autosave settings open to the left of their button and touch it.
  const QPoint anchor = autosaveButton->mapTo(m, QPoint(0, 0));
  const int autosaveWidth = 436;
  const int autosaveHeight = 134;
  QFrame* autosave =
      panels.panel(id::kPanelAutosave,
                   QRect(anchor.x() - autosaveWidth, anchor.y() + kButtonHeight - autosaveHeight,
                         autosaveWidth, autosaveHeight),
                   "Automatické uložení");
  panels.kit.router.reportEveryMove(id::kPanelAutosave);
  forms.caption(autosave, QRect(12, 8, 150, 22), "Automatické uložení:", style::kYellow);
  forms.check(id::kAutosaveOn, autosave, QRect(160, 8, 80, 22), true)
      ->setAccessibleName("Automatické uložení");
  forms.caption(autosave, QRect(12, 40, 26, 24), "po:", style::kLime);
  QComboBox* trigger =
      forms.combo(id::kAutosaveTrigger, autosave, QRect(40, 40, 240, 24), "Automatické uložení po");
  trigger->lineEdit()->installEventFilter(new FocusReporter(id::kAutosaveTrigger, forms, trigger));
  QLabel* quotaText = forms.caption(autosave, QRect(12, 72, 0, 0),
                                    "Obsah souboru nesmí překročit hranici:", style::kLime);
  quotaText->setFixedHeight(24);
  const int spinLeft = quotaText->x() + quotaText->width() + 6;
  forms.spin(id::kAutosaveQuota, autosave, QRect(spinLeft, 72, 72, 24), 50)
      ->setAccessibleName("Obsah souboru nesmí překročit hranici (záznamů)");
  forms.caption(autosave, QRect(spinLeft + 78, 72, 90, 24), "záznam(ů).", style::kLime);
  forms.button(id::kAutosaveApply, autosave, QRect(12, 102, 116, kButtonHeight));
}

void buildToolsPanel(const MenuPanels& panels) {
  Forms& forms = panels.forms;
  // Tools open under their button at the top right.
  QWidget* tools = panels.binder.widget(id::kTools);
  const auto toolRows = panels.kit.modes.toolPanel();
  const int toolCount = static_cast<int>(toolRows.size());
  QFrame* toolPanel = panels.panel(
      id::kPanelTools,
      QRect(tools->x(), tools->y() + tools->height(), tools->width(), columnHeight(toolCount)),
      "Nástroje");
  for (int i = 0; i < toolCount; ++i)
    forms.button(toolRows[static_cast<std::size_t>(i)]->toolButton, toolPanel,
                 QRect(4, 4 + kRow * i, tools->width() - 8, kButtonHeight));
}

void buildEditorBarPanels(const MenuPanels& panels) {
  // The editor bar's panels. The data panel's rows are the editors' (buildEditorOnMenuScreen).
  panels.panel(
      id::kPanelEditorData,
      QRect(categoryLeft(0), kCategoryTop - columnHeight(1), kCategoryWidth, columnHeight(1)),
      "Křížovka");
  panels.column(id::kPanelToolExit, "Editor", categoryLeft(1), kCategoryWidth, kCategoryTop,
                {id::kToolQuit});
  QFrame* music = panels.panel(
      id::kPanelSetMusic,
      QRect(categoryLeft(2), kCategoryTop - columnHeight(1), kCategoryWidth, columnHeight(1)),
      "Sada");
  buildSetMusic(panels.kit, panels.m, music);
}

void buildRecordPlayer(const MenuPanels& panels) {
  Forms& forms = panels.forms;
  // The record player.
  QFrame* player = panels.panel(id::kPanelRecordPlayer, QRect(99, 112, 400, 176),
                                "Přehrávač záznamů pro hru Tervano");
  forms.caption(player, QRect(14, 10, 372, 22), "Přehrávač záznamů pro hru Tervano", style::kYellow,
                11);
  forms.caption(player, QRect(14, 42, 372, 18), "Přehrávaný soubor:", style::kLime);
  auto* file = new QLabel(player);
  file->setTextFormat(Qt::PlainText);
  file->setGeometry(14, 62, 372, 34);
  file->setWordWrap(true);
  file->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  style::setTextColor(file, style::kAqua);
  // The whole path, wrapped after a folder where it is too long for one line.
  panels.binder.bind(id::kRecordFile, file, Aspects{}, [file](const ui::Control& c) {
    const QString path = q(c.text);
    QString wrappable = path;
    wrappable.replace('/', QStringLiteral("/\u200B"));
    file->setText(wrappable);
    file->setToolTip(path);
    file->setAccessibleName("Přehrávaný soubor: " + path);
    QFont font = style::sans();
    while (font.pointSize() > 6 &&
           QFontMetrics(font).boundingRect(file->rect(), Qt::TextWordWrap, wrappable).height() >
               file->height())
      font.setPointSize(font.pointSize() - 1);
    file->setFont(font);
  });
  const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaPause,
                                          QStyle::SP_MediaStop};
  const char* iconNames[] = {"Přehrát", "Pozastavit", "Zastavit"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(player);
    b->setIcon(QApplication::style()->standardIcon(icons[i]));
    b->setAccessibleName(iconNames[i]);
    b->setGeometry(14 + i * 48, 98, 42, 30);
    b->setEnabled(false);
  }
  forms.button(id::kRecordBack, player, QRect(296, 136, 90, 28));
}

void buildCredits(const MenuPanels& panels) {
  Forms& forms = panels.forms;
  // The credits: a header strip with the title and "X", a body in which the labels scroll.
  QFrame* credits = panels.panel(id::kPanelCredits, QRect(119, 120, 360, 24 + 152 + 2), "Credits");
  auto* header = new style::EdgedFrame(credits, Qt::BottomEdge, style::kTeal);
  header->setAccessibleName("Credits");
  header->setGeometry(1, 1, 358, 24);
  style::fill(header, QColor(0x00, 0x18, 0x18));
  Aspects titleLook;
  titleLook.style = true;
  titleLook.color = style::kAqua;
  titleLook.pointSize = 10;
  forms.label(id::kCreditsTitle, header, QRect(8, 2, 200, 20), style::kAqua, titleLook);
  Aspects closeLook;
  closeLook.style = true;
  closeLook.color = style::kYellow;
  auto* close =
      forms.clickLabel(id::kCreditsClose, header, QRect(336, 3, 16, 18), style::kYellow, closeLook);
  close->setAlignment(Qt::AlignCenter);
  close->setAccessibleName("Zavřít");
  auto* body = new QWidget(credits);
  body->setGeometry(1, 25, 358, 152);
  body->setAccessibleName("Titulky");
  Aspects scrolling;
  scrolling.style = true;
  scrolling.move = true;
  scrolling.color = style::kRed;
  scrolling.pointSize = 16;
  // The scrolling lines are empty between the names: then they are named after the credits.
  auto creditLine = [&forms](QLabel* line, const char* lineId) {
    forms.nameBy(line, {lineId},
                 [line] { return line->text().isEmpty() ? QString("Titulky") : line->text(); });
  };
  creditLine(forms.label(id::kCreditsCaption, body, {}, style::kRed, scrolling),
             id::kCreditsCaption);
  scrolling.color = style::kLime;
  creditLine(forms.label(id::kCreditsName, body, {}, style::kLime, scrolling), id::kCreditsName);
}

void buildMenuPanels(ScreenKit& kit, QWidget* m) {
  const MenuPanels panels{kit, m};
  buildGamePanel(panels);
  buildHelpAndAppPanels(panels);
  buildAutosavePanel(panels, buildSettingsPanel(panels));
  buildToolsPanel(panels);
  buildEditorBarPanels(panels);
  buildRecordPlayer(panels);
  buildCredits(panels);
}

}  // namespace

}  // namespace tervano::qt
