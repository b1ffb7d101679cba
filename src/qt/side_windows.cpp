#include "qt/side_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <tuple>

#include "app/credits.h"
#include "data/document.h"
#include "data/textfile.h"
#include "qt/style.h"
#include "ui/ids.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

// The page area of the help window, which the pages and the enlarged areas cover.
const QRect kPageArea(16, 56, 548, 392);

}  // namespace

void centreOver(QWidget* window, const QWidget* over) {
  if (!over) return;
  const QRect r = over->frameGeometry();
  window->move(r.center() - QPoint(window->width() / 2, window->height() / 2));
}

// ---- SideWindow ----

SideWindow::SideWindow(Forms& forms, QWidget* anchor, const char* objectName, const QString& title)
    : QWidget(nullptr), forms_(forms), anchor_(anchor) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(title);
  style::applyWindowLook(this);
  setObjectName(objectName);
}

void SideWindow::paintEvent(QPaintEvent*) {
  // Frameless: its own border tells it from the window below.
  QPainter p(this);
  p.setPen(style::kTeal);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SideWindow::followModel(const char* control, std::function<void()> beforeShow) {
  forms_.binder().watch(control, [this, beforeShow](const ui::Control& c) {
    if (c.visible == isVisible()) return;
    if (!c.visible) {
      hide();
      return;
    }
    if (beforeShow) beforeShow();
    centreOver(this, anchor_);
    show();
    raise();
    activateWindow();
  });
}

// ---- HelpWindow ----

HelpWindow::HelpWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "helpWindow", "Nápověda") {
  setFixedSize(580, 500);
  Binder& b = forms.binder();
  Aspects none;
  none.visible = false;
  none.enabled = false;
  b.bind(id::kHelpBackground, this, none);

  forms.caption(this, QRect(16, 8, 400, 40), "Nápověda", style::kYellow, 22);

  // Example page: four samples in a row, the advice under them.
  const int w = 131;
  const int xs[] = {16, 155, 294, 433};
  forms.label(id::kHelpSampleCaption, this, QRect(xs[0], 56, w, 16), style::kLime);
  forms.caption(this, QRect(xs[1], 56, w, 16), "Činnost:", style::kLime);
  forms.label(id::kHelpMapCaption, this, QRect(xs[2], 56, w, 16), style::kLime);
  forms.caption(this, QRect(xs[3], 56, w, 16), "Legenda:", style::kLime);
  const auto off = Qt::ScrollBarAlwaysOff;
  const auto asNeeded = Qt::ScrollBarAsNeeded;
  forms.area(id::kHelpSample, this, QRect(xs[0], 72, w, 130), false, style::kRed, asNeeded, off);
  auto* keys =
      forms.area(id::kHelpKeys, this, QRect(xs[1], 72, w, 130), false, style::kAqua, asNeeded, off);
  keys->setFont(style::sans());
  keys->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  forms.area(id::kHelpMap, this, QRect(xs[2], 72, w, 130), false, style::kRed, asNeeded, off);
  forms.area(id::kHelpLegend, this, QRect(xs[3], 72, w, 130), false, style::kRed, asNeeded, off);
  auto* advice = forms.area(id::kHelpAdvice, this, QRect(16, 212, 548, 236), false, style::kRed,
                            asNeeded, asNeeded);
  advice->setFont(style::sans());
  advice->setToolTip("Dvojklikem zvětšíte nebo zmenšíte");
  keys->setToolTip("Dvojklikem zvětšíte nebo zmenšíte");
  // A double click enlarges an area over the whole page and back.
  b.watch(id::kHelpKeys, [keys](const ui::Control& c) {
    keys->setGeometry(c.checked ? kPageArea : QRect(155, 72, 131, 130));
    if (c.checked) keys->raise();
  });
  b.watch(id::kHelpAdvice, [advice](const ui::Control& c) {
    advice->setGeometry(c.checked ? kPageArea : QRect(16, 212, 548, 236));
    if (c.checked) advice->raise();
  });

  // The pages that cover the example page.
  auto* keyList =
      forms.area(id::kHelpKeyList, this, kPageArea, false, style::kLime, asNeeded, asNeeded);
  auto* licence = forms.area(id::kHelpLicence, this, kPageArea, false, style::kLime,
                             Qt::ScrollBarAlwaysOn, off);
  licence->setFont(style::sans());
  licence->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  for (QWidget* page : {static_cast<QWidget*>(keyList), static_cast<QWidget*>(licence)})
    b.watch(page == keyList ? id::kHelpKeyList : id::kHelpLicence, [page](const ui::Control& c) {
      if (c.visible) page->raise();
    });

  forms.label(id::kHelpPageTitle, this, QRect(16, 464, 112, 20), style::kYellow);
  Aspects link;
  link.style = true;
  link.color = style::kBlue;
  auto* linkLabel =
      forms.clickLabel(id::kHelpLink, this, QRect(128, 464, 206, 20), style::kBlue, link);
  linkLabel->setAlignment(Qt::AlignCenter);
  forms.button(id::kHelpTopics, this, QRect(340, 460, 116, 26));
  QFrame* topics = forms.panel(id::kHelpTopicsPanel, this, QRect(340, 366, 116, 92));
  forms.button(id::kHelpTopicSample, topics, QRect(4, 4, 108, 26));
  forms.button(id::kHelpTopicKeys, topics, QRect(4, 33, 108, 26));
  forms.button(id::kHelpTopicEula, topics, QRect(4, 62, 108, 26));
  forms.button(id::kHelpQuit, this, QRect(464, 460, 100, 26));

  followModel(id::kHelpWindow);
}

void HelpWindow::closeEvent(QCloseEvent* event) {
  // Closed by the window manager rather than by "Konec".
  event->accept();
  forms_.send({Kind::HelpClosed});
}

// ---- AboutWindow ----

AboutWindow::AboutWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "aboutWindow", "O aplikaci") {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 16, 20, 16);
  layout->setSpacing(6);
  auto* title = forms.caption(this, {}, "O aplikaci", style::kYellow, 16);
  layout->addWidget(title);
  layout->addSpacing(6);
  layout->addWidget(
      forms.caption(this, {}, QString("Verze aplikace: ") + app::kAppVersion, style::kLime));
  layout->addWidget(forms.label(id::kAboutPackage, this, {}, style::kLime));
  layout->addWidget(forms.label(id::kAboutAuthor, this, {}, style::kAqua));
  layout->addSpacing(10);
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  for (const char* button : {id::kAboutEula, id::kAboutCredits, id::kAboutBack}) {
    QPushButton* b = forms.button(button, this, QRect(0, 0, 10, 26));
    b->setMinimumHeight(26);
    row->addWidget(b);
  }
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  followModel(id::kAboutWindow, [this] { adjustSize(); });
}

void AboutWindow::closeEvent(QCloseEvent* event) {
  // The window manager's close means the same as "Návrat na hlavní nabídku": otherwise the model
  // would still hold the window as open and "O aplikaci" could not show it again.
  event->ignore();
  forms_.click(id::kAboutBack);
}

// ---- ChooserWindow ----

ChooserWindow::ChooserWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "chooserWindow", "Nastavení hry") {
  setFixedSize(336, 196);
  forms.label(id::kChooserTitle, this, QRect(14, 10, 308, 30), style::kYellow,
              Aspects{.pointSize = 14});
  for (auto [box, top, caption] : {std::tuple{id::kChooserGrade, 54, "Ročník:"},
                                   std::tuple{id::kChooserCrossword, 86, "Křížovka:"}}) {
    const QString name = QString::fromUtf8(caption);
    forms.caption(this, QRect(14, top, 80, 24), name, style::kLime)
        ->setBuddy(
            forms.combo(box, this, QRect(100, top, 150, 24), name, box == id::kChooserGrade));
  }
  // "Potvrď" stands where "Potvrď nastavení" stands; the mode shows one of them.
  forms.button(id::kChooserStart, this, QRect(14, 124, 148, 28));
  forms.button(id::kChooserConfirm, this, QRect(14, 124, 148, 28));
  forms.button(id::kChooserBack, this, QRect(170, 124, 152, 28));
  forms.button(id::kChooserDelete, this, QRect(14, 158, 148, 28));
  // The window ends under its last row of buttons.
  forms.binder().watch(id::kChooserDelete,
                       [this](const ui::Control& c) { setFixedHeight(c.visible ? 196 : 164); });

  followModel(id::kChooserWindow);
}

void ChooserWindow::closeEvent(QCloseEvent* event) {
  // The window manager's close is the way back to the main menu.
  event->ignore();
  forms_.click(id::kChooserBack);
}

// ---- DocumentViewer ----

DocumentViewer::DocumentViewer(QWidget* parent) : QWidget(parent) {
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
  setWindowTitle("Nápověda Tervana");
  style::applyWindowLook(this);
  resize(640, 520);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  browser_ = new QTextBrowser(this);
  browser_->setOpenLinks(false);
  browser_->setReadOnly(true);
  QPalette p = browser_->palette();
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  browser_->setPalette(p);
  browser_->setStyleSheet("QTextBrowser { background-color: #FFFFFF; color: #000000; }");
  QFont text("DejaVu Sans", 10);
  text.setWeight(QFont::Normal);  // not the window's bold
  browser_->setFont(text);
  layout->addWidget(browser_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* close = new QPushButton("Zavřít", this);
  close->setMinimumSize(100, 28);
  row->addWidget(close);
  layout->addLayout(row);
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  connect(browser_, &QTextBrowser::anchorClicked, this, &DocumentViewer::openLink);
}

void DocumentViewer::open(const std::string& path) {
  const QString file = QString::fromStdString(path);
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) {
    browser_->setPlainText("Soubor nápovědy nelze otevřít.");
  } else if (static_cast<std::uintmax_t>(f.size()) > limits::kHelpFile) {
    // A page linked from the help is read here too: the same limit as for the help itself.
    browser_->setPlainText("Soubor nápovědy je příliš velký, a proto se neotevře.");
  } else {
    const QByteArray bytes = f.readAll();
    // Written as UTF-8 or, like the other data files, in code page 1250.
    const QString html = QString::fromStdString(
        decodeDocument(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
    folder_ = QFileInfo(file).absolutePath();
    browser_->setSearchPaths({folder_});
    browser_->setHtml(html);
  }
  show();
  raise();
  activateWindow();
}

void DocumentViewer::openLink(const QUrl& url) {
  if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto") {
    QDesktopServices::openUrl(url);
    return;
  }
  if (url.path().isEmpty() && url.hasFragment()) {
    browser_->scrollToAnchor(url.fragment());
    return;
  }
  // Another page of the help: only files beside the help file are opened.
  const QString target = QDir::cleanPath(QDir(folder_).absoluteFilePath(url.path()));
  if (!target.startsWith(folder_ + '/') || !QFileInfo(target).isFile()) return;
  open(target.toStdString());
  if (url.hasFragment()) browser_->scrollToAnchor(url.fragment());
}

}  // namespace tervano::qt
