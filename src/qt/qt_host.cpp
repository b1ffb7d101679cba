#include "qt/qt_host.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <map>

#include "audio/session_bus.h"
#include "data/program_location.h"

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

std::optional<std::size_t> QtHost::choose(std::string_view question,
                                          const std::vector<std::string>& options,
                                          std::size_t preselected) {
  if (beforeModal_) beforeModal_();
  QDialog dialog(boxParent());
  dialog.setObjectName("choiceDialog");
  dialog.setWindowTitle("Otázka");
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QLabel(q(question).replace('\r', '\n'));
  layout->addWidget(text);
  QButtonGroup group;
  for (std::size_t i = 0; i < options.size(); ++i) {
    auto* option = new QRadioButton(q(options[i]));
    option->setAccessibleName(option->text());
    group.addButton(option, static_cast<int>(i));
    layout->addWidget(option);
    if (i == preselected) option->setChecked(true);
  }
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  buttons->addButton("Zrušit", QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (QAbstractButton* checked = group.checkedButton()) checked->setFocus();
  if (dialog.exec() != QDialog::Accepted || group.checkedId() < 0) return std::nullopt;
  return static_cast<std::size_t>(group.checkedId());
}

bool QtHost::consoleQuestion(std::string_view question) {
  if (beforeModal_) beforeModal_();
  QDialog dialog(boxParent());
  dialog.setObjectName("consoleQuestion");
  dialog.setWindowTitle("Příkazový skript");
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QLabel(q(question).replace('\r', '\n'));
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(text);
  // As in a console: a letter and Enter.
  auto* row = new QHBoxLayout;
  auto* caption = new QLabel("&Odpověď (a/n):");
  auto* field = new QLineEdit;
  field->setMaxLength(3);
  field->setAccessibleName("Odpověď (a/n):");
  caption->setBuddy(field);
  row->addWidget(caption);
  row->addWidget(field, 1);
  layout->addLayout(row);
  auto* hint = new QLabel("Napište a (ano), nebo n (ne), a stiskněte Enter.");
  hint->hide();
  layout->addWidget(hint);
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  QPushButton* no = buttons->addButton("Ne", QDialogButtonBox::RejectRole);
  ok->setAccessibleName("OK");
  no->setAccessibleName("Ne");
  ok->setDefault(true);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    const QString answer = field->text().trimmed().toLower();
    if (answer.isEmpty() || answer == "a" || answer == "ano") return dialog.accept();
    if (answer == "n" || answer == "ne") return dialog.reject();
    // Anything else is asked again, as a console does.
    hint->show();
    field->selectAll();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  field->setFocus();
  return execInFront(dialog) == QDialog::Accepted;
}

namespace {

// Programs started from here find the environment the way this program found it, without the
// variable that keeps this program from launching a D-Bus session bus, and with the extra
// variables given.
void startDetached(const QString& program, const QStringList& arguments, const QString& folder,
                   const QProcessEnvironment& extra = {}) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(folder);
  if (audio::sessionBusAutolaunchPrevented() || !extra.isEmpty()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (audio::sessionBusAutolaunchPrevented()) environment.remove(audio::kSessionBusVariable);
    environment.insert(extra);
    process.setProcessEnvironment(environment);
  }
  process.startDetached();
}

}  // namespace

QtHost::QtHost(std::string executable, std::string programFolder,
               std::unique_ptr<audio::SoundOutput> sound)
    : executable_(std::move(executable)),
      programFolder_(std::move(programFolder)),
      sound_(std::move(sound)) {}

QtHost::~QtHost() {
  for (auto& run : runs_)
    if (run.joinable()) run.join();
}

void QtHost::setWindow(QWidget* window, std::function<void()> beforeModal) {
  window_ = window;
  beforeModal_ = std::move(beforeModal);
}

QWidget* QtHost::boxParent() const {
  // A box belongs to the window in front that takes input: a box open already, a window that
  // stays on top over the main window (the chooser, the help), or the main window. Which window
  // the system last reported as active says nothing here: that report comes late on a busy
  // machine, and may still name a window hidden a moment ago. A box on a disabled or hidden
  // window could not be answered, or would open behind a window that stays on top.
  auto usable = [](QWidget* w) {
    return w && w->isVisible() && w->isEnabled() && w->windowType() != Qt::Popup &&
           w->windowType() != Qt::ToolTip;
  };
  if (QWidget* modal = QApplication::activeModalWidget(); usable(modal)) return modal;
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* w : windows)
    if (usable(w) && w != window_ && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return w;
  if (usable(window_)) return window_;
  for (QWidget* w : windows)
    if (usable(w)) return w;
  return nullptr;
}

int QtHost::execInFront(QDialog& box) {
  // Over a window that stays on top, the box stays on top too, or it could open behind it.
  if (QWidget* parent = box.parentWidget();
      parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // The system may make another window of ours active after the box has come up: the late answer
  // to an activation asked for before it (the main window's, when the chooser gave it back). The
  // box blocks that window, so it takes the activation back and comes to the front again.
  auto toFront = [&box] {
    box.raise();
    box.activateWindow();
  };
  QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &box, [&box, toFront](QWindow* w) {
    if (!w || !box.isVisible() || QApplication::activeModalWidget() != &box) return;
    if (w == box.windowHandle() || w->type() == Qt::Popup || w->type() == Qt::ToolTip) return;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->windowHandle() == w && box.isAncestorOf(window)) return;
    QTimer::singleShot(0, &box, toFront);
  });
  // Once shown (modal), it asks for the front itself rather than wait for the system's choice.
  QTimer::singleShot(0, &box, toFront);
  return box.exec();
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
  execInFront(box);
  if (box.clickedButton() == retry && retry) return ui::Answer::Retry;
  if (box.clickedButton() == ok && ok) return ui::Answer::Ok;
  return ui::Answer::Cancel;
}

namespace {

// Icons and kinds of the files in a dialog. Qt's own provider looks each file's type up in the
// icon theme and the MIME database, which took a good part of the time to the first dialog; the
// player needs no more than "file" or "folder".
class FileIcons : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override {
    switch (type) {
      case Computer:
        return cached(QStyle::SP_ComputerIcon);
      case Drive:
        return cached(QStyle::SP_DriveHDIcon);
      case Folder:
        return cached(QStyle::SP_DirIcon);
      default:
        return cached(QStyle::SP_FileIcon);
    }
  }
  QIcon icon(const QFileInfo& info) const override {
    if (info.isRoot()) return cached(QStyle::SP_DriveHDIcon);
    return cached(info.isDir() ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
  }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return "Složka";
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QString("Soubor") : "Soubor " + suffix;
  }

 private:
  QIcon cached(QStyle::StandardPixmap which) const {
    QIcon& icon = icons_[which];
    if (icon.isNull()) icon = QApplication::style()->standardIcon(which);
    return icon;
  }
  mutable std::map<QStyle::StandardPixmap, QIcon> icons_;
};

}  // namespace

std::unique_ptr<QFileDialog> QtHost::makeFileDialog(const ui::FileDialogOptions& o, bool save,
                                                    QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, q(o.title), q(o.initialFolder));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::ReadOnly, false);
  // The labels are what the player reads; the wildcards that stand for Czech letters are not.
  dialog->setOption(QFileDialog::HideNameFilterDetails, true);
  static FileIcons icons;
  dialog->setIconProvider(&icons);
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
  if (execInFront(*dialog) != QDialog::Accepted || dialog->selectedFiles().isEmpty())
    return std::nullopt;
  return dialog->selectedFiles().front().toStdString();
}

std::optional<std::string> QtHost::openFile(const ui::FileDialogOptions& options) {
  return fileDialog(options, false);
}

std::optional<std::string> QtHost::saveFile(const ui::FileDialogOptions& options) {
  return fileDialog(options, true);
}

std::optional<std::string> QtHost::chooseFolder(const ui::FileDialogOptions& options) {
  if (beforeModal_) beforeModal_();
  auto dialog = makeFileDialog(options, false, boxParent());
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly, true);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().front().toStdString();
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
  // The new mode works in this program folder, wherever the executable would find one itself.
  QProcessEnvironment extra;
  if (!programFolder_.empty()) extra.insert(kProgramFolderVariable, q(programFolder_));
  startDetached(q(executable_), args, q(workingFolder), extra);
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

void useCzechToolkitTexts(QApplication& qapp) {
  // Only the texts: a Czech default locale would cost about 2 MB at start (the locale's
  // collation data) and change nothing the player sees.
  auto* translator = new QTranslator(&qapp);
  if (translator->load("qtbase_cs", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

}  // namespace tervano::qt
