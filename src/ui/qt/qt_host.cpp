#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace tervano::qt {

namespace {

QString q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

// Qt splits a name filter's patterns at blanks, and takes a pattern only when it is plain ASCII
// (a filter with a Czech letter in its pattern matched nothing, so the autosave log could not
// be chosen): a blank or a letter beyond ASCII inside a file name is matched by "?".
QString QtHost::filterText(const ui::FileFilter& f) {
  QStringList patterns;
  for (const auto& p : f.patterns) {
    QString pattern = q(p);
    for (QChar& c : pattern)
      if (c == ' ' || c.unicode() > 0x7F) c = '?';
    patterns << pattern;
  }
  return q(f.label) + " (" + patterns.join(' ') + ")";
}

QtHost::QtHost(std::string executable, std::unique_ptr<audio::SoundOutput> sound)
    : executable_(std::move(executable)), sound_(std::move(sound)) {}

QtHost::~QtHost() {
  for (auto& run : runs_)
    if (run.joinable()) run.join();
}

void QtHost::setWindow(QWidget* window, std::function<void()> beforeModal) {
  window_ = window;
  beforeModal_ = std::move(beforeModal);
}

QWidget* QtHost::boxParent() const {
  // A box belongs to the window the user works in: a box open already, the help window over a
  // disabled main window, or the main window. A box on a disabled or hidden window could not be
  // answered, or would open behind a window that stays on top.
  auto usable = [](QWidget* w) { return w && w->isVisible() && w->isEnabled(); };
  if (QWidget* modal = QApplication::activeModalWidget(); usable(modal)) return modal;
  if (QWidget* active = QApplication::activeWindow(); usable(active)) return active;
  if (usable(window_)) return window_;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (usable(w) && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip) return w;
  return nullptr;
}

ui::Answer QtHost::message(ui::MessageKind kind, std::string_view text, ui::Buttons buttons,
                           std::string_view caption) {
  if (beforeModal_) beforeModal_();
  QMessageBox box(boxParent());
  QString title;
  switch (kind) {
    case ui::MessageKind::Error:
      box.setIcon(QMessageBox::Critical);
      title = "Chyba";
      break;
    case ui::MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      title = "Varování";
      break;
    case ui::MessageKind::Information:
      box.setIcon(QMessageBox::Information);
      title = "Informace";
      break;
    case ui::MessageKind::Confirmation:
      box.setIcon(QMessageBox::Question);
      title = "Potvrzení";
      break;
    case ui::MessageKind::Plain:
      box.setIcon(QMessageBox::NoIcon);
      title = "Tervano";
      break;
  }
  box.setWindowTitle(caption.empty() ? title : q(caption));
  box.setText(q(text).replace('\r', '\n'));
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* retry = nullptr;
  if (buttons == ui::Buttons::RetryCancel) {
    retry = box.addButton("Opakovat", QMessageBox::AcceptRole);
    cancel = box.addButton("Zrušit", QMessageBox::RejectRole);
    box.setDefaultButton(retry);
  } else {
    ok = box.addButton("OK", QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    if (buttons == ui::Buttons::OkCancel) cancel = box.addButton("Zrušit", QMessageBox::RejectRole);
  }
  if (cancel) box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == retry && retry) return ui::Answer::Retry;
  if (box.clickedButton() == ok && ok) return ui::Answer::Ok;
  return ui::Answer::Cancel;
}

std::unique_ptr<QFileDialog> QtHost::makeFileDialog(const ui::FileDialogOptions& o, bool save,
                                                    QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, q(o.title), q(o.initialFolder));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::ReadOnly, false);
  QStringList filters;
  for (const auto& f : o.filters)
    filters << filterText(f);
  dialog->setNameFilters(filters);
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) {
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !o.overwritePrompt);
    if (!o.defaultSuffix.empty()) dialog->setDefaultSuffix(q(o.defaultSuffix));
  }
  if (!o.fileName.empty()) dialog->selectFile(q(o.fileName));
  dialog->setSizeGripEnabled(true);
  return dialog;
}

std::optional<std::string> QtHost::fileDialog(const ui::FileDialogOptions& o, bool save) {
  if (beforeModal_) beforeModal_();
  auto dialog = makeFileDialog(o, save, boxParent());
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().front().toStdString();
}

std::optional<std::string> QtHost::openFile(const ui::FileDialogOptions& options) {
  return fileDialog(options, false);
}

std::optional<std::string> QtHost::saveFile(const ui::FileDialogOptions& options) {
  return fileDialog(options, true);
}

void QtHost::playWavSync(const std::string& path) {
  if (!sound_ || !sound_->playWavSync(path)) QApplication::beep();
}

ui::MusicPlayer& QtHost::music() {
  return sound_->music();
}

void QtHost::startInstance(std::string_view argument, const std::string& workingFolder) {
  QStringList args;
  if (!argument.empty()) args << q(argument);
  QProcess::startDetached(q(executable_), args, q(workingFolder));
}

void QtHost::launchCommandScript(const std::string&, std::function<void()> runner) {
  // A thread of this process: the runner only copies and deletes files and reports its progress
  // through memory the window reads; no shell is involved.
  runs_.emplace_back(std::move(runner));
}

void QtHost::openDocument(const std::string& path, const std::string& workingFolder) {
  (void)workingFolder;
  if (documentViewer_) {
    documentViewer_(path);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(q(path)));
}

void QtHost::setCursor(ui::Cursor cursor) {
  if (cursorOverridden_) {
    QApplication::restoreOverrideCursor();
    cursorOverridden_ = false;
  }
  if (cursor == ui::Cursor::Busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cursorOverridden_ = true;
  }
}

}  // namespace tervano::qt
