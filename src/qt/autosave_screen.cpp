// The autosave manager's screen, over the whole window: the record list in its three display
// styles, the buttons, the record count and what shows while the list is filled.
#include <QAbstractListModel>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <array>
#include <memory>

#include "qt/screens.h"
#include "qt/sizes.h"
#include "qt/style.h"
#include "ui/ids/autosave_manager.h"

namespace tervano::qt {

namespace {

using Kind = app::Event::Kind;

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

constexpr int kPicture = 32;
constexpr int kSmallPicture = 16;
constexpr int kColumnWidth = 150;
constexpr int kTriggerPictures = 5;

// The pictures of the five triggers, drawn once: a ticked crossword tile (every check), a flag
// on a step (start of a grade), a script page (a script ran), a floppy disk (a save point) and
// a window being closed (the record of the closing).
QIcon triggerPicture(int index) {
  QPixmap pixmap(kPicture, kPicture);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QPen outline(style::kLime, 2);
  switch (index) {
    case 0: {
      p.setPen(QPen(style::kTeal, 1));
      p.setBrush(QColor(0x00, 0x30, 0x30));
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
          p.drawRect(3 + c * 13, 3 + r * 13, 13, 13);
      p.setPen(QPen(style::kLime, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygon({QPoint(8, 18), QPoint(14, 26), QPoint(28, 8)}));
      break;
    }
    case 1: {
      p.setPen(Qt::NoPen);
      p.setBrush(style::kTeal);
      p.drawRect(2, 22, 10, 8);
      p.drawRect(12, 15, 10, 15);
      p.drawRect(22, 8, 8, 22);
      p.setPen(QPen(style::kYellow, 2));
      p.drawLine(26, 8, 26, 1);
      p.setPen(Qt::NoPen);
      p.setBrush(style::kRed);
      p.drawPolygon(QPolygon({QPoint(15, 1), QPoint(26, 1), QPoint(26, 7)}));
      p.setPen(QPen(style::kLime, 1));
      p.setFont(style::sans(7));
      p.drawText(QRect(2, 12, 10, 10), Qt::AlignCenter, "I");
      break;
    }
    case 2: {
      p.setPen(outline);
      p.setBrush(QColor(0x00, 0x20, 0x20));
      p.drawRoundedRect(QRectF(5, 2, 22, 28), 2, 2);
      p.setPen(QPen(style::kAqua, 2));
      for (int y = 8; y <= 24; y += 5)
        p.drawLine(9, y, y == 13 || y == 23 ? 19 : 23, y);
      p.setPen(QPen(style::kYellow, 2));
      p.drawText(QRect(14, 18, 16, 12), Qt::AlignCenter, ">");
      break;
    }
    case 3: {
      p.setPen(outline);
      p.setBrush(QColor(0x00, 0x40, 0x60));
      QPainterPath disk;
      disk.moveTo(3, 3);
      disk.lineTo(24, 3);
      disk.lineTo(29, 8);
      disk.lineTo(29, 29);
      disk.lineTo(3, 29);
      disk.closeSubpath();
      p.drawPath(disk);
      p.setPen(Qt::NoPen);
      p.setBrush(style::kYellow);
      p.drawRect(8, 4, 14, 9);
      p.setBrush(style::kBlack);
      p.drawRect(17, 5, 3, 7);
      p.setBrush(QColor(0xE0, 0xE0, 0xE0));
      p.drawRect(7, 18, 18, 10);
      break;
    }
    case 4: {
      p.setPen(outline);
      p.setBrush(QColor(0x00, 0x20, 0x20));
      p.drawRect(3, 4, 26, 24);
      p.setBrush(style::kTeal);
      p.drawRect(3, 4, 26, 6);
      p.setPen(QPen(style::kRed, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(11, 14, 21, 24);
      p.drawLine(21, 14, 11, 24);
      break;
    }
    default:
      break;
  }
  return QIcon(pixmap);
}

// The pictures of the three display-style buttons: large icons, a list, details.
QIcon stylePicture(int style) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::NoPen);
  p.setBrush(style::kLime);
  if (style == 0) {
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c)
        p.drawRect(3 + c * 10, 3 + r * 10, 8, 8);
  } else {
    for (int r = 0; r < 4; ++r) {
      p.drawRect(2, 3 + r * 5, 3, 3);
      p.drawRect(7, 4 + r * 5, style == 1 ? 8 : 15, 1);
      if (style == 2) p.drawRect(7, 3 + r * 5, 15, 1);
    }
  }
  return QIcon(pixmap);
}

// The entries of the list, taken from the model in one piece: the views lay them out once.
class RecordModel : public QAbstractListModel {
 public:
  explicit RecordModel(QObject* parent) : QAbstractListModel(parent) {
    for (int i = 0; i < kTriggerPictures; ++i)
      pictures_[static_cast<std::size_t>(i)] = triggerPicture(i);
  }

  // True when the entries changed.
  bool take(const ui::Control& c) {
    if (c.lines.lines() == captions_ && c.icons == icons_ && c.text == header_) return false;
    beginResetModel();
    captions_ = c.lines.lines();
    icons_ = c.icons;
    header_ = c.text;
    endResetModel();
    return true;
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    if (!index.isValid() || row >= captions_.size()) return {};
    switch (role) {
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole:
      case Qt::ToolTipRole:
        return q(captions_[row]);
      case Qt::DecorationRole: {
        const int icon = row < icons_.size() ? icons_[row] : -1;
        if (icon < 0 || icon >= kTriggerPictures) return {};
        return pictures_[static_cast<std::size_t>(icon)];
      }
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return q(header_);
    return {};
  }

 private:
  std::array<QIcon, kTriggerPictures> pictures_;
  std::vector<std::string> captions_;
  std::vector<int> icons_;
  std::string header_;
};

// The find-folder animation: a magnifier sweeping over a folder while it plays.
class SearchAnimation : public QWidget {
 public:
  explicit SearchAnimation(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setInterval(60);
    QObject::connect(timer_, &QTimer::timeout, this, [this] {
      phase_ = (phase_ + 1) % 24;
      update();
    });
  }
  void setPlaying(bool on) {
    if (on == timer_->isActive()) return;
    if (on)
      timer_->start();
    else
      timer_->stop();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(style::kYellow, 1));
    p.setBrush(QColor(0x80, 0x80, 0x00));
    p.drawRect(4, 7, 26, 16);
    p.drawRect(4, 4, 11, 4);
    const int swing = phase_ < 12 ? phase_ : 24 - phase_;
    const QPointF lens(20 + swing * 2.5, 11);
    p.setPen(QPen(style::kAqua, 2));
    p.setBrush(QColor(0x00, 0x40, 0x40, 0xA0));
    p.drawEllipse(lens, 6, 6);
    p.drawLine(lens + QPointF(4, 4), lens + QPointF(9, 10));
  }

 private:
  QTimer* timer_;
  int phase_ = 0;
};

const char* kListSheet = R"(
QListView, QTreeView {
  background-color: #000000; color: #00FF00; border: 1px solid #008080;
  selection-background-color: #008080; selection-color: #FFFF00;
}
QListView:focus, QTreeView:focus { border-color: #00FFFF; }
QHeaderView::section {
  background-color: #002020; color: #FFFF00; border: 0px; border-right: 1px solid #008080;
  border-bottom: 1px solid #008080; padding: 2px 4px;
}
QProgressBar {
  background-color: #000000; border: 1px solid #008080; border-radius: 2px; color: #FFFF00;
  text-align: center;
}
QProgressBar::chunk { background-color: #008080; }
QToolButton {
  background-color: #000000; border: 1px solid #008080; border-radius: 3px;
}
QToolButton:hover { border-color: #00FFFF; }
QToolButton:checked { background-color: #004040; border-color: #FFFF00; }
)";

// The record list: one model shown by a list view (large icons, list) or a one-column tree
// (details), sharing one selection that goes back to the application as a Select.
struct RecordList {
  QWidget* box;
  QListView* list;
  QTreeView* details;
  RecordModel* model;
  bool updating = false;
  int style = 0;

  void show(int newStyle) {
    style = newStyle;
    list->setVisible(style != 2);
    details->setVisible(style == 2);
    if (style == 0) {
      list->setViewMode(QListView::IconMode);
      list->setIconSize(QSize(kPicture, kPicture));
      list->setGridSize(QSize(84, 60));
      list->setFlow(QListView::LeftToRight);
      list->setWrapping(true);
      list->setWordWrap(true);
    } else if (style == 1) {
      list->setViewMode(QListView::ListMode);
      list->setIconSize(QSize(kSmallPicture, kSmallPicture));
      list->setGridSize(QSize(kColumnWidth, 20));
      list->setFlow(QListView::TopToBottom);
      list->setWrapping(true);
      list->setWordWrap(false);
    }
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
  }

  void select(int row) {
    updating = true;
    QItemSelectionModel* s = list->selectionModel();
    if (row < 0 || row >= model->rowCount()) {
      s->clearSelection();
    } else {
      const QModelIndex index = model->index(row);
      if (!s->isSelected(index)) s->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
    updating = false;
  }
};

}  // namespace

QWidget* buildAutosaveScreen(ScreenKit& kit, QWidget* window) {
  auto* p = new QFrame(window);
  p->setObjectName("autosaveScreen");
  p->setGeometry(0, 0, size::kWidth, size::kHeight);
  p->setAutoFillBackground(true);
  p->setStyleSheet(kListSheet);
  kit.binder.bind(id::kAutosaveScreen, p, Aspects{});
  kit.router.addDragHandle(p);
  Forms& f = kit.forms;

  // Buttons are named for assistive technology by their captions.
  auto named = [&kit](const char* controlId, QWidget* w) {
    kit.binder.watch(controlId, [w](const ui::Control& c) { w->setAccessibleName(q(c.text)); });
    return w;
  };

  f.caption(p, QRect(10, 6, 200, 18), "Obsah souboru:", style::kYellow);

  auto list = std::make_shared<RecordList>();
  list->box = new QWidget(p);
  list->box->setGeometry(10, 26, 578, 372);
  list->model = new RecordModel(list->box);
  list->list = new QListView(list->box);
  list->details = new QTreeView(list->box);
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(list->list),
                               static_cast<QAbstractItemView*>(list->details)}) {
    v->setGeometry(0, 0, 578, 372);
    v->setModel(list->model);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setAccessibleName("Obsah souboru");
    QObject::connect(v, &QAbstractItemView::doubleClicked, [&f](const QModelIndex& index) {
      if (index.isValid()) f.send({Kind::DoubleClick, id::kManagerList});
    });
  }
  list->list->setUniformItemSizes(true);
  list->list->setLayoutMode(QListView::Batched);
  list->list->setBatchSize(1000);
  list->details->setSelectionModel(list->list->selectionModel());
  list->details->setRootIsDecorated(false);
  list->details->setUniformRowHeights(true);
  list->details->setItemsExpandable(false);
  list->details->setIconSize(QSize(kSmallPicture, kSmallPicture));
  list->details->header()->setStretchLastSection(false);
  list->details->header()->setSectionResizeMode(QHeaderView::Fixed);
  list->show(0);
  QObject::connect(
      list->list->selectionModel(), &QItemSelectionModel::selectionChanged, [list, &f] {
        if (list->updating) return;
        const auto rows = list->list->selectionModel()->selectedRows();
        f.send({Kind::Select, id::kManagerList, {}, rows.isEmpty() ? -1 : rows.front().row()});
      });
  kit.binder.bind(id::kManagerList, list->box, Aspects{}, [list](const ui::Control& c) {
    list->updating = true;
    if (list->model->take(c)) list->details->setColumnWidth(0, kColumnWidth);
    list->updating = false;
    list->select(c.value);
  });

  auto* progress = new QProgressBar(p);
  progress->setGeometry(10, 404, 500, 16);
  progress->setTextVisible(false);
  kit.binder.bind(id::kManagerProgress, progress, Aspects{}, [progress](const ui::Control& c) {
    progress->setRange(c.minimum, c.maximum);
    progress->setValue(std::clamp(c.value, c.minimum, c.maximum));
    progress->setAccessibleName(q(c.text));
  });
  auto* animation = new SearchAnimation(p);
  animation->setGeometry(520, 400, 68, 24);
  kit.binder.bind(id::kManagerAnimation, animation, Aspects{}, [animation](const ui::Control& c) {
    animation->setPlaying(c.checked && c.visible);
    animation->setAccessibleName(q(c.text));
  });

  auto* edit = new QFrame(p);
  edit->setGeometry(10, 426, 292, 30);
  kit.binder.bind(id::kManagerEditPanel, edit, Aspects{});
  named(id::kManagerDelete, f.button(id::kManagerDelete, edit, QRect(0, 0, 110, 30)));
  named(id::kManagerView, f.button(id::kManagerView, edit, QRect(116, 0, 176, 30)));
  named(id::kManagerLoad, f.button(id::kManagerLoad, p, QRect(310, 426, 134, 30)));
  named(id::kManagerQuit, f.button(id::kManagerQuit, p, QRect(454, 426, 134, 30)));

  const char* styles[] = {id::kManagerStyleIcons, id::kManagerStyleList, id::kManagerStyleDetails};
  for (int i = 0; i < 3; ++i) {
    const std::string styleId = styles[i];
    auto* b = new QToolButton(p);
    b->setGeometry(10 + i * 38, 464, 34, 34);
    b->setIcon(stylePicture(i));
    b->setIconSize(QSize(24, 24));
    b->setCheckable(true);
    b->setFocusPolicy(Qt::TabFocus);
    kit.binder.bind(styleId, b, Aspects{}, [b, list, i](const ui::Control& c) {
      b->setAccessibleName(q(c.text));
      b->setToolTip(q(c.text));
      b->setChecked(c.checked);
      if (c.checked && list->style != i) list->show(i);
    });
    // The model decides which style is in use; a click only asks for it.
    QObject::connect(b, &QToolButton::clicked, [&f, styleId, b] {
      b->setChecked(!b->isChecked());
      f.click(styleId);
    });
  }

  auto* count = f.label(id::kManagerCount, p, QRect(130, 464, 458, 34), style::kYellow);
  named(id::kManagerCount, count);
  named(id::kManagerDeleteAll, f.button(id::kManagerDeleteAll, p, QRect(10, 505, 200, 30)));
  named(id::kAutosavePanelMainApp,
        f.button(id::kAutosavePanelMainApp, p, QRect(size::kWidth - 180, 505, 170, 30)));
  return p;
}

}  // namespace tervano::qt
