#include "qt/word_list_window.h"

#include <QCloseEvent>
#include <QLineEdit>

#include "qt/style.h"
#include "qt/widgets.h"
#include "ui/ids/editor.h"

namespace tervano::qt {

WordListWindow::WordListWindow(Forms& forms, QWidget* anchor)
    : SideWindow(forms, anchor, "wordListWindow", "Sestavit křížovku ze slov") {
  setFixedSize(440, 400);
  forms.label(id::kWordListWindow, this, QRect(14, 10, 412, 28), style::kYellow,
              Aspects{.visible = false, .enabled = false, .pointSize = 13});

  forms.caption(this, QRect(14, 48, 70, 24), "Tajenka:", style::kLime);
  QLineEdit* tajenka = forms.entry(id::kWordListTajenka, this, QRect(90, 48, 336, 24));
  tajenka->setAccessibleName("Tajenka:");

  const QString pairsCaption = "Slova a nápovědy:";
  forms.caption(this, QRect(14, 79, 250, 18), pairsCaption, style::kLime);
  // A list from a spreadsheet or a vocabulary trainer, to edit here before "Sestavit".
  forms.button(id::kWordListLoad, this, QRect(276, 76, 150, 24));
  forms
      .caption(this, QRect(14, 100, 412, 34),
               "Na každý řádek jedno slovo a jeho nápověda, například „monday – pondělí“. "
               "Slova nesou písmena tajenky v jejím pořadí.",
               style::kAqua)
      ->setWordWrap(true);
  auto* pairs = forms.area(id::kWordListPairs, this, QRect(14, 138, 412, 210), true, style::kLime,
                           Qt::ScrollBarAsNeeded, Qt::ScrollBarAsNeeded);
  pairs->setAccessibleName(pairsCaption);

  forms.button(id::kWordListBuild, this, QRect(14, 360, 200, 28));
  forms.button(id::kWordListBack, this, QRect(226, 360, 200, 28));
  followModel(id::kWordListWindow);
}

void WordListWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  forms_.click(id::kWordListBack);
}

}  // namespace tervano::qt
