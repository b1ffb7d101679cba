#include "ui/qt/print_window.h"

#include <QCloseEvent>

#include "ui/ids/print.h"
#include "ui/qt/style.h"
#include "ui/qt/widgets.h"

namespace tervano::qt {

namespace {

constexpr int kWidth = 560;
constexpr int kLeft = 14;
constexpr int kInner = kWidth - 2 * kLeft;
// The button row has five places: the three outputs, one kept free, and "Zpět" at the end.
constexpr int kButtonPlaces = 5;
constexpr int kButtonGap = 8;
constexpr int kButtonWidth = (kInner - (kButtonPlaces - 1) * kButtonGap) / kButtonPlaces;

QRect buttonPlace(int place, int top) {
  return {kLeft + place * (kButtonWidth + kButtonGap), top, kButtonWidth, 28};
}

}  // namespace

PrintWindow::PrintWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "printWindow", "Tisk a export křížovek") {
  setFixedSize(kWidth, 380);
  forms.label(id::kPrintWindow, this, QRect(kLeft, 10, kInner, 28), style::kYellow,
              Aspects{.visible = false, .enabled = false, .pointSize = 13});

  forms.caption(this, QRect(kLeft, 48, 200, 20), "Co vytisknout:", style::kLime);
  int top = 70;
  for (const char* scope : {id::kPrintScopeCrossword, id::kPrintScopeGrade, id::kPrintScopeSet}) {
    forms.radio(scope, this, QRect(kLeft + 10, top, 240, 22));
    top += 24;
  }
  forms.check(id::kPrintKeys, this, QRect(kLeft, 148, 92, 22), true);
  forms.caption(this, QRect(kLeft + 96, 148, kInner - 96, 22),
                "za každou křížovkou strana s vyplněnou mřížkou", style::kAqua);
  QLabel* summary =
      forms.label(id::kPrintSummary, this, QRect(kLeft, 178, kInner, 20), style::kAqua);
  summary->setWordWrap(true);

  QLabel* warningsCaption =
      forms.caption(this, QRect(kLeft, 206, kInner, 18), "Upozornění:", style::kRed);
  auto* warnings = forms.area(id::kPrintWarnings, this, QRect(kLeft, 226, kInner, 76), false,
                              style::kYellow, Qt::ScrollBarAsNeeded, Qt::ScrollBarAlwaysOff);
  warnings->setFont(style::sans());
  warnings->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  warnings->setAccessibleName("Upozornění:");
  forms.binder().watch(id::kPrintWarnings, [warningsCaption](const ui::Control& c) {
    warningsCaption->setVisible(c.visible);
  });

  QLabel* status = forms.label(id::kPrintStatus, this, QRect(kLeft, 310, kInner, 18), style::kLime);
  forms.nameBy(status, {id::kPrintStatus},
               [status] { return Forms::counted("Výsledek:", status->text()); });

  forms.button(id::kPrintPrint, this, buttonPlace(0, 340));
  forms.button(id::kPrintPreview, this, buttonPlace(1, 340));
  forms.button(id::kPrintPdf, this, buttonPlace(2, 340));
  forms.button(id::kPrintBack, this, buttonPlace(kButtonPlaces - 1, 340));
  followModel(id::kPrintWindow);
}

void PrintWindow::closeEvent(QCloseEvent* event) {
  // The window manager's close is "Zpět".
  event->ignore();
  forms_.click(id::kPrintBack);
}

}  // namespace tervano::qt
