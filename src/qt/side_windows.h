#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "qt/forms.h"

class QTextBrowser;

// The windows beside the main one: help, about, the crossword chooser and the viewer of the
// external help file.
namespace tervano::qt {

// A frameless window beside the main one that stays on top, is shown while its model control
// is visible and opens in the middle of the anchor window.
class SideWindow : public QWidget {
 public:
  SideWindow(Forms& forms, QWidget* anchor, const char* objectName, const QString& title);

 protected:
  // Shows and hides the window with the model control; `beforeShow` may size it first.
  void followModel(const char* control, std::function<void()> beforeShow = {});
  void paintEvent(QPaintEvent* event) override;

  Forms& forms_;
  QWidget* anchor_;
};

// The help window: example page, key list and licence pages, topics and the help-file link.
class HelpWindow : public SideWindow {
 public:
  HelpWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// The about window: versions, author and three buttons, sized to its content.
class AboutWindow : public SideWindow {
 public:
  AboutWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// The small window in which grade and crossword are chosen.
class ChooserWindow : public SideWindow {
 public:
  ChooserWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;
};

// A read-only rich-text window for the external help file (an HTML file).
class DocumentViewer : public QWidget {
 public:
  explicit DocumentViewer(QWidget* parent = nullptr);
  // Shows the file; a file that cannot be read shows a short Czech note instead.
  void open(const std::string& path);
  QTextBrowser* browser() const { return browser_; }

 private:
  void openLink(const QUrl& url);

  QTextBrowser* browser_;
  QString folder_;
};

// Places a window in the middle of another.
void centreOver(QWidget* window, const QWidget* over);

}  // namespace tervano::qt
