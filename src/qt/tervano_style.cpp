// The program's widget style: Fusion, with the frames, buttons, fields and scroll bars of the
// dark look painted here. A window-wide style sheet did the same, but it made Qt keep rules and
// palettes for every widget of the window, some 2 MB in a game, and slowed the first paint.
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

#include "qt/style.h"

namespace tervano::qt::style {
namespace {

const QColor kPressed{0x00, 0x30, 0x30};
const QColor kDisabledBorder{0x1C, 0x38, 0x38};
const QColor kDisabledText{0x50, 0x60, 0x50};
const QColor kHandleHover{0x00, 0xA0, 0xA0};
const QColor kHeader{0x00, 0x20, 0x20};
constexpr int kScrollBarWidth = 12;
constexpr int kMinHandle = 18;
constexpr int kGroupTitleLeft = 8;

bool enabled(const QStyleOption* o) {
  return o->state & QStyle::State_Enabled;
}

// A one-pixel border along the inside of `r`, rounded, over a fill.
void box(QPainter* p, const QRect& r, const QColor& border, const QColor& fill, qreal radius) {
  p->save();
  p->setRenderHint(QPainter::Antialiasing, radius > 0);
  p->setPen(QPen(border, 1));
  p->setBrush(fill);
  p->drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  p->restore();
}

// A field's border: aqua while it has the keyboard, dim when disabled.
QColor fieldBorder(const QStyleOption* o) {
  if (!enabled(o)) return kDisabledBorder;
  return o->state & QStyle::State_HasFocus ? kAqua : kTeal;
}

void arrow(QPainter* p, const QRect& r, bool up, const QColor& color) {
  const int w = std::min(r.width() - 4, 7) | 1;
  const int h = (w + 1) / 2;
  const QPoint c = r.center();
  const int y = c.y() - h / 2;
  QPolygon tip;
  if (up) {
    tip << QPoint(c.x() - w / 2, y + h) << QPoint(c.x() + w / 2 + 1, y + h) << QPoint(c.x(), y);
  } else {
    tip << QPoint(c.x() - w / 2, y) << QPoint(c.x() + w / 2 + 1, y) << QPoint(c.x(), y + h);
  }
  p->save();
  p->setRenderHint(QPainter::Antialiasing);
  p->setPen(Qt::NoPen);
  p->setBrush(color);
  p->drawPolygon(tip);
  p->restore();
}

class TervanoStyle : public QProxyStyle {
 public:
  TervanoStyle() : QProxyStyle("Fusion") {}

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    // Pictures on the standard buttons of boxes and dialogs: decoding them took a fifth of the
    // time to the first dialog.
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    if (hint == SH_ScrollBar_ContextMenu) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    switch (metric) {
      case PM_ScrollBarExtent:
        return kScrollBarWidth;
      case PM_ScrollBarSliderMin:
        return kMinHandle;
      case PM_DefaultFrameWidth:
        return 1;
      default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* o, QPainter* p,
                     const QWidget* w) const override {
    switch (element) {
      case PE_PanelButtonCommand: {
        const bool lit = o->state & (State_MouseOver | State_HasFocus);
        const bool down = o->state & (State_Sunken | State_On);
        box(p, o->rect,
            !enabled(o) ? kDisabledBorder
            : lit       ? kAqua
                        : kTeal,
            down ? kPressed : kBlack, 3);
        return;
      }
      case PE_FrameDefaultButton:
        return;
      case PE_FrameFocusRect:
        // A button shows its focus by its border.
        if (qobject_cast<const QPushButton*>(w)) return;
        break;
      case PE_PanelLineEdit: {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(o);
        if (frame && frame->lineWidth <= 0) {
          // The field inside an editable combo box: its box draws the border.
          p->fillRect(o->rect, o->palette.base());
          return;
        }
        box(p, o->rect, fieldBorder(o), o->palette.base().color(), 2);
        return;
      }
      case PE_FrameLineEdit:
        return;  // drawn with the panel
      case PE_Frame:
        if (qobject_cast<const QAbstractScrollArea*>(w)) {
          // Text areas, lists: a straight line, aqua with the keyboard.
          const bool focus = w->hasFocus();
          box(p, o->rect,
              !enabled(o) ? kDisabledBorder
              : focus     ? kAqua
                          : kTeal,
              Qt::transparent, 0);
        } else {
          // A panel laid over the screen.
          box(p, o->rect, kTeal, Qt::transparent, 3);
        }
        return;
      case PE_PanelTipLabel:
        box(p, o->rect, kTeal, kBlack, 0);
        return;
      default:
        break;
    }
    QProxyStyle::drawPrimitive(element, o, p, w);
  }

  void drawControl(ControlElement element, const QStyleOption* o, QPainter* p,
                   const QWidget* w) const override {
    switch (element) {
      case CE_PushButtonLabel:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(o)) {
          QStyleOptionButton copy(*button);
          const QColor text = !enabled(o) ? kDisabledText
                              : (o->state & State_MouseOver)
                                  ? kYellow
                                  : o->palette.color(QPalette::ButtonText);
          copy.palette.setColor(QPalette::ButtonText, text);
          QProxyStyle::drawControl(element, &copy, p, w);
          return;
        }
        break;
      case CE_HeaderSection: {
        p->fillRect(o->rect, kHeader);
        p->save();
        p->setPen(kTeal);
        p->drawLine(o->rect.topRight(), o->rect.bottomRight());
        p->drawLine(o->rect.bottomLeft(), o->rect.bottomRight());
        p->restore();
        return;
      }
      case CE_HeaderLabel:
        if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(o)) {
          QStyleOptionHeader copy(*header);
          copy.palette.setColor(QPalette::ButtonText, kYellow);
          copy.rect.adjust(4, 0, -4, 0);
          QProxyStyle::drawControl(element, &copy, p, w);
          return;
        }
        break;
      default:
        break;
    }
    QProxyStyle::drawControl(element, o, p, w);
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* o, QPainter* p,
                          const QWidget* w) const override {
    switch (control) {
      case CC_ComboBox:
      case CC_SpinBox: {
        box(p, o->rect, fieldBorder(o), o->palette.base().color(), 2);
        const QColor color = enabled(o) ? kLime : kDisabledText;
        if (control == CC_ComboBox) {
          arrow(p, subControlRect(control, o, SC_ComboBoxArrow, w), false, color);
        } else {
          arrow(p, subControlRect(control, o, SC_SpinBoxUp, w), true, color);
          arrow(p, subControlRect(control, o, SC_SpinBoxDown, w), false, color);
        }
        return;
      }
      case CC_GroupBox:
        if (const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(o)) {
          const QRect title = subControlRect(control, o, SC_GroupBoxLabel, w);
          box(p, subControlRect(control, o, SC_GroupBoxFrame, w),
              group->palette.color(QPalette::WindowText), Qt::transparent, 3);
          if (!group->text.isEmpty()) {
            p->fillRect(title, o->palette.window());
            p->save();
            p->setPen(o->palette.color(QPalette::WindowText));
            p->drawText(title, Qt::AlignCenter | Qt::TextShowMnemonic, group->text);
            p->restore();
          }
          return;
        }
        break;
      case CC_ScrollBar:
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(o)) {
          p->fillRect(o->rect, kBlack);
          p->save();
          p->setPen(kRule);
          if (bar->orientation == Qt::Vertical) {
            p->drawLine(o->rect.topLeft(), o->rect.bottomLeft());
          } else {
            p->drawLine(o->rect.topLeft(), o->rect.topRight());
          }
          p->restore();
          // Nothing to scroll: the handle fills the bar.
          const bool hot =
              (o->state & State_MouseOver) && (o->activeSubControls & SC_ScrollBarSlider);
          // Two pixels around the handle, beside the bar's one-pixel edge.
          const bool vertical = bar->orientation == Qt::Vertical;
          const QRect handle = subControlRect(control, o, SC_ScrollBarSlider, w)
                                   .adjusted(vertical ? 3 : 2, vertical ? 2 : 3, -2, -2);
          box(p, handle, hot ? kHandleHover : kTeal, hot ? kHandleHover : kTeal, 3);
          return;
        }
        break;
      default:
        break;
    }
    QProxyStyle::drawComplexControl(control, o, p, w);
  }

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* o, SubControl sub,
                       const QWidget* w) const override {
    if (control == CC_ScrollBar) {
      if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(o)) {
        return scrollBarPart(*bar, sub);
      }
    }
    if (control == CC_ComboBox && sub == SC_ComboBoxEditField) {
      // Text kept off the border, as in a line edit.
      return QProxyStyle::subControlRect(control, o, sub, w).adjusted(2, 0, 0, 0);
    }
    if (control == CC_GroupBox) {
      if (const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(o)) {
        const QFontMetrics fm(group->fontMetrics);
        const int titleHeight = group->text.isEmpty() ? 0 : fm.height();
        const int top = titleHeight / 2;
        switch (sub) {
          case SC_GroupBoxLabel:
            return QRect(o->rect.left() + kGroupTitleLeft, o->rect.top(),
                         fm.horizontalAdvance(group->text) + 6, titleHeight);
          case SC_GroupBoxFrame:
            return o->rect.adjusted(0, top, 0, 0);
          case SC_GroupBoxContents:
            return o->rect.adjusted(1, std::max(titleHeight, 1), -1, -1);
          default:
            break;
        }
      }
    }
    return QProxyStyle::subControlRect(control, o, sub, w);
  }

 private:
  // A bar without arrow buttons: the groove is the whole bar.
  static QRect scrollBarPart(const QStyleOptionSlider& bar, SubControl sub) {
    const QRect r = bar.rect;
    const bool vertical = bar.orientation == Qt::Vertical;
    const int length = vertical ? r.height() : r.width();
    const qint64 range = qint64(bar.maximum) - bar.minimum;
    int handle = length;
    if (range > 0) {
      handle = int(qint64(length) * bar.pageStep / (range + bar.pageStep));
      handle = std::clamp(handle, std::min(kMinHandle, length), length);
    }
    const int start = sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition,
                                              length - handle, bar.upsideDown);
    auto along = [&](int from, int size) {
      return vertical ? QRect(r.left(), r.top() + from, r.width(), size)
                      : QRect(r.left() + from, r.top(), size, r.height());
    };
    switch (sub) {
      case SC_ScrollBarGroove:
        return r;
      case SC_ScrollBarSlider:
        return along(start, handle);
      case SC_ScrollBarSubPage:
        return along(0, start);
      case SC_ScrollBarAddPage:
        return along(start + handle, length - start - handle);
      default:
        return QRect();  // no arrow buttons
    }
  }
};

}  // namespace

QStyle* makeStyle() {
  return new TervanoStyle;
}

}  // namespace tervano::qt::style
