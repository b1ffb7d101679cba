#pragma once

#include <QWidget>
#include <string>

#include "ui/qt/forms.h"

class QTextBrowser;

// The windows beside the main one: help, about, the crossword chooser and the viewer of the
// external help file.
namespace tervano::qt {

// The help window: example page, key list and licence pages, topics and the help-file link.
class HelpWindow : public QWidget {
 public:
  // Opens in the middle of the anchor window.
  HelpWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Forms& forms_;
  QWidget* anchor_;
};

// The about window: versions, author and three buttons, sized to its content.
class AboutWindow : public QWidget {
 public:
  // Opens in the middle of the anchor window.
  AboutWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Forms& forms_;
  QWidget* anchor_;
};

// The small window in which grade and crossword are chosen.
class ChooserWindow : public QWidget {
 public:
  // Opens in the middle of the anchor window.
  ChooserWindow(Forms& forms, QWidget* anchor);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Forms& forms_;
  QWidget* anchor_;
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
