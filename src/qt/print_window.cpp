#include "qt/print_window.h"

#include <QCloseEvent>

#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/print.h"

namespace tervano::qt {

namespace {

constexpr int kWidth = 560;
constexpr int kLeft = 14;
constexpr int kInner = kWidth - 2 * kLeft;
// The button row has five places: the three outputs of pages, iPuz, and "Zpět" at the end.
constexpr int kButtonPlaces = 5;
constexpr int kButtonGap = 8;
constexpr int kButtonWidth = (kInner - (kButtonPlaces - 1) * kButtonGap) / kButtonPlaces;

QRect buttonPlace(int place, int top) {
  return {kLeft + place * (kButtonWidth + kButtonGap), top, kButtonWidth, 28};
}

}  // namespace

PrintWindow::PrintWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "printWindow", "Tisk a export křížovek") {
  setFixedSize(kWidth, 398);
  forms.label(id::kPrintWindow, this, QRect(kLeft, 10, kInner, 28), style::kYellow,
              Aspects{.visible = false, .enabled = false, .pointSize = 13});

  forms.caption(this, QRect(kLeft, 48, 200, 20), "Co vytisknout nebo uložit:", style::kLime);
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

  // A saved folder's path and what was left out may take two lines.
  QLabel* status = forms.label(id::kPrintStatus, this, QRect(kLeft, 306, kInner, 36), style::kLime);
  status->setWordWrap(true);
  status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  forms.nameBy(status, {id::kPrintStatus},
               [status] { return Forms::counted("Výsledek:", status->text()); });

  constexpr int kButtonTop = 358;
  forms.button(id::kPrintPrint, this, buttonPlace(0, kButtonTop));
  forms.button(id::kPrintPreview, this, buttonPlace(1, kButtonTop));
  forms.button(id::kPrintPdf, this, buttonPlace(2, kButtonTop));
  forms.button(id::kPrintIpuz, this, buttonPlace(3, kButtonTop));
  forms.button(id::kPrintBack, this, buttonPlace(kButtonPlaces - 1, kButtonTop));
  followModel(id::kPrintWindow);
}

void PrintWindow::closeEvent(QCloseEvent* event) {
  // The window manager's close is "Zpět".
  event->ignore();
  forms_.click(id::kPrintBack);
}

}  // namespace tervano::qt
