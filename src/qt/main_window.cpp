#include "qt/main_window.h"

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
#include "qt/side_windows.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids.h"
#include "ui/pictures.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

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
  setFixedSize(size::kWidth, size::kHeight);
  style::applyWindowLook(this);
  router_ = new InputRouter(
      binder_, [this](const app::Event& e) { dispatch(e); }, this);
  router_->addWindow(this);
  router_->addDragHandle(this);
  router_->reportDoubleClick(id::kHelpAdvice);
  router_->reportDoubleClick(id::kHelpKeys);
  buildShortcuts();
  bindWindow();
  kit_ = std::make_unique<ScreenKit>(
      ScreenKit{forms_, binder_, *router_, app_.controls(), app_.folder(), app_.modes()});
  layers_ = {{nullptr, buildPlayScreen},
             {id::kMenuScreen, buildMenuScreen},
             {id::kSetPanel, buildSetPanel},
             {id::kAutosaveScreen, buildAutosaveScreen}};
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
  binder_.watch(id::kWindowIcon, [this](const ui::Control& c) {
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
  binder_.watch(id::kModeButtonPictures, [this](const ui::Control& c) {
    auto wear = [&](const std::string& buttonId, const std::string& file) {
      auto* b = qobject_cast<QPushButton*>(binder_.widget(buttonId));
      if (!b) return;
      b->setIcon(c.visible ? glyph(app_.folder().resolve(file)) : QIcon());
      b->setIconSize(QSize(18, 18));
    };
    for (const app::ModeRow* mode : app_.modes().toolPanel())
      wear(mode->toolButton, mode->picture);
    if (const app::ModeRow* main = app_.modes().find(""))
      for (const char* button : ui::kMainAppButtons)
        wear(button, main->picture);
  });
}

bool MainWindow::present(const Layer& layer) const {
  return !layer.control || app_.controls().has(layer.control);
}

bool MainWindow::needed(const Layer& layer) const {
  const auto& c = app_.controls();
  if (layer.control) return present(layer) && c.visible(layer.control);
  for (const Layer& above : layers_)
    if (above.control && present(above) && c.visible(above.control)) return false;
  return true;
}

bool MainWindow::allBuilt() const {
  for (const Layer& layer : layers_)
    if (present(layer) && !layer.widget) return false;
  return help_ != nullptr;
}

void MainWindow::ensureBuilt() {
  if (allBuilt()) return;
  bool built = false;
  for (Layer& layer : layers_) {
    if (layer.widget || !needed(layer)) continue;
    layer.widget = layer.build(*kit_, this);
    layer.widget->installEventFilter(this);
    built = true;
  }
  const auto& c = app_.controls();
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
  if (allBuilt()) return;
  router_->pause(true);
  for (Layer& layer : layers_)
    if (!layer.widget && present(layer)) layer.widget = layer.build(*kit_, this);
  if (!help_) buildSideWindows();
  restack();
  binder_.invalidate();
  router_->pause(false);
  sync();
}

void MainWindow::buildSideWindows() {
  help_ = std::make_unique<HelpWindow>(forms_, this);
  // A press on the link takes its underline off, as the pointer leaving it does.
  router_->reportPress(id::kHelpLink);
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
  for (const Layer& layer : layers_)
    if (layer.widget) layer.widget->raise();
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::Paint) painted();
  return QWidget::event(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  // A screen that covers the whole window and fills its own background is painted instead of
  // the window itself.
  if (e->type() == QEvent::Paint) painted();
  return QWidget::eventFilter(watched, e);
}

void MainWindow::painted() {
  if (restScheduled_) return;
  restScheduled_ = true;
  // What is hidden is built once the window is on the screen, so it appears sooner.
  QTimer::singleShot(0, this, [this] {
    if (firstPaint_) firstPaint_();
    completeBuild();
  });
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

void MainWindow::syncBeforeModal() {
  // A box or dialog of the start-up comes before the window is shown: building its screens for
  // it would only keep that first box waiting.
  if (isVisible()) return sync();
  if (destroying_) return;
  binder_.sync(app_.controls());
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
