#include "ui/program_style.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>

#include "skin/ui_style.h"

namespace {

// The free pixels between a check box's box and its caption.
constexpr int kCheckGap = 3;
constexpr QMargins kTabPadding{5, 2, 5, 2};
// A flat drop-down field: its frame, the caption's inset, the arrow button.
constexpr int kFieldFrame = 1;
constexpr int kFieldInset = 3;
constexpr int kArrowWidth = 16;
constexpr int kHeaderPadding = 3;

bool IsFlat(const QWidget* widget) { return widget && widget->property(ui_style::kFlatLook).toBool(); }

bool IsFlatList(const QWidget* widget) { return IsFlat(widget) && qobject_cast<const QComboBox*>(widget); }

}  // namespace

// The classic style, drawing for `program`: every measure, hint, primitive
// and placement it asks for while drawing comes from `program`, so a part
// drawn classic fits the rest of the window.
class ClassicParts : public QProxyStyle {
 public:
  explicit ClassicParts(const QStyle& program)
      : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))), program_(program) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    return program_.pixelMetric(metric, option, widget);
  }
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    return program_.styleHint(hint, option, widget, returnData);
  }
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    program_.drawPrimitive(element, option, painter, widget);
  }
  QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override {
    return program_.subElementRect(element, option, widget);
  }
  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& colours, bool enabled,
                    const QString& text, QPalette::ColorRole textRole) const override {
    program_.drawItemText(painter, rect, flags, colours, enabled, text, textRole);
  }
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    return program_.subControlRect(control, option, part, widget);
  }

 private:
  const QStyle& program_;
};

namespace {

// `colours` with every group's button, window and text roles taken from
// `background` and `text`, and the shades of a raised part derived from
// `background`, as a classic part in those colours is drawn.
QPalette ClassicColours(QPalette colours, const QBrush& background, const QBrush& text) {
  for (auto role : {QPalette::Button, QPalette::Window}) colours.setBrush(role, background);
  const QColor base = background.color();
  colours.setColor(QPalette::Light, base.lighter(115));
  colours.setColor(QPalette::Midlight, base.lighter(107));
  colours.setColor(QPalette::Dark, base.darker(150));
  colours.setColor(QPalette::Shadow, base.darker(300));
  for (auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text}) colours.setBrush(role, text);
  return colours;
}

void DrawOutline(QPainter* painter, const QRect& rect, const QColor& colour, int width) {
  painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), colour);
  painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), colour);
  painter->fillRect(QRect(rect.left(), rect.top() + width, width, rect.height() - 2 * width), colour);
  painter->fillRect(QRect(rect.right() - width + 1, rect.top() + width, width, rect.height() - 2 * width), colour);
}

}  // namespace

ProgramStyle::ProgramStyle(QStyle* platform)
    : QProxyStyle(platform), classic_(std::make_unique<ClassicParts>(*this)) {}

ProgramStyle::~ProgramStyle() = default;

void ProgramStyle::Install() {
  if (qobject_cast<ProgramStyle*>(QApplication::style())) return;
  QApplication::setStyle(new ProgramStyle(QStyleFactory::create(QApplication::style()->name())));
}

int ProgramStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_CheckBoxLabelSpacing:
      // Counted by the common style from the box's last pixel column.
      return kCheckGap + 1;
    case PM_TabBarTabHSpace:
    case PM_TabBarTabVSpace:
    case PM_TabBarTabShiftHorizontal:
    case PM_TabBarTabShiftVertical:
      return 0;  // the padding is added to the caption's size
    default:
      break;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  if (hint == SH_LineEdit_PasswordCharacter) return '*';
  if (hint == SH_ComboBox_PopupFrameStyle && IsFlatList(widget)) return QFrame::NoFrame;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize ProgramStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                                     const QWidget* widget) const {
  if (type == CT_CheckBox) {
    const int indicatorWidth = pixelMetric(PM_IndicatorWidth, option, widget);
    const int indicatorHeight = pixelMetric(PM_IndicatorHeight, option, widget);
    return {contents.width() + indicatorWidth + kCheckGap, qMax(contents.height(), indicatorHeight)};
  }
  if (type == CT_TabBarTab) return contents.grownBy(kTabPadding);
  return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

QRect ProgramStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const {
  switch (element) {
    case SE_TabBarTabText:
      if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
        const auto* bar = qobject_cast<const QTabBar*>(widget);
        QStyleOptionTab inner = *tab;
        inner.rect = (bar && tab->tabIndex != -1 ? bar->tabRect(tab->tabIndex) : tab->rect) - kTabPadding;
        return QProxyStyle::subElementRect(element, &inner, widget);
      }
      break;
    case SE_HeaderLabel:
      if (IsFlat(widget)) return option->rect.adjusted(kHeaderPadding, 0, -kHeaderPadding, 0);
      break;
    default:
      break;
  }
  return QProxyStyle::subElementRect(element, option, widget);
}

QRect ProgramStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                   const QWidget* widget) const {
  if (control == CC_ComboBox && IsFlatList(widget)) {
    const QRect field = option->rect;
    switch (part) {
      case SC_ComboBoxFrame:
        return field;
      case SC_ComboBoxEditField:
        return field.adjusted(kFieldFrame + kFieldInset, kFieldFrame, -(kFieldFrame + kFieldInset + kArrowWidth),
                              -kFieldFrame);
      case SC_ComboBoxArrow:
        return {field.right() - kFieldFrame - kArrowWidth + 1, field.top() + kFieldFrame, kArrowWidth,
                field.height() - 2 * kFieldFrame};
      default:
        break;
    }
  }
  return QProxyStyle::subControlRect(control, option, part, widget);
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  switch (element) {
    case CE_TabBarTab:
      drawControl(CE_TabBarTabShape, option, painter, widget);
      drawControl(CE_TabBarTabLabel, option, painter, widget);
      return;
    case CE_CheckBox:
    case CE_TabBarTabShape:
      classic_->drawControl(element, option, painter, widget);
      return;
    case CE_TabBarTabLabel:
      if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
        QStyleOptionTab inner = *tab;
        inner.rect = tab->rect - kTabPadding;
        QProxyStyle::drawControl(element, &inner, painter, widget);
        return;
      }
      break;
    case CE_ComboBoxLabel:
      if (const auto* field = qstyleoption_cast<const QStyleOptionComboBox*>(option); field && IsFlatList(widget)) {
        painter->save();
        const QRect text = subControlRect(CC_ComboBox, field, SC_ComboBoxEditField, widget);
        painter->setClipRect(text);
        drawItemText(painter, text, field->textAlignment, field->palette, field->state & State_Enabled,
                     field->currentText, QPalette::Text);
        painter->restore();
        return;
      }
      break;
    case CE_MenuItem:
      // An entry of a flat list's open list: the entry under the mouse in
      // the field's colour, the others on the list's background.
      if (const auto* entry = qstyleoption_cast<const QStyleOptionMenuItem*>(option); entry && IsFlatList(widget)) {
        QStyleOptionMenuItem flat = *entry;
        const QPalette& field = widget->palette();
        flat.palette = ClassicColours(flat.palette, field.button(), field.buttonText());
        flat.palette.setBrush(QPalette::Highlight, field.button());
        flat.palette.setBrush(QPalette::HighlightedText, field.buttonText());
        if (!(entry->state & State_Selected)) {
          flat.palette.setColor(QPalette::Window, Qt::transparent);
          flat.palette.setColor(QPalette::Button, Qt::transparent);
        }
        painter->save();
        painter->setFont(flat.font);
        QProxyStyle::drawControl(element, &flat, painter, widget);
        painter->restore();
        return;
      }
      break;
    case CE_Header:
      if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option); header && IsFlat(widget)) {
        painter->save();
        painter->setClipRect(header->rect);
        drawControl(CE_HeaderSection, header, painter, widget);
        QStyleOptionHeader label = *header;
        label.rect = subElementRect(SE_HeaderLabel, header, widget);
        if (label.rect.isValid()) drawControl(CE_HeaderLabel, &label, painter, widget);
        painter->restore();
        return;
      }
      break;
    case CE_HeaderSection:
      if (IsFlat(widget)) {
        painter->fillRect(option->rect, option->palette.button());
        return;
      }
      break;
    default:
      break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void ProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                      const QWidget* widget) const {
  if (const auto* field = qstyleoption_cast<const QStyleOptionComboBox*>(option);
      field && control == CC_ComboBox && IsFlatList(widget)) {
    painter->fillRect(field->rect, field->palette.button());
    DrawOutline(painter, field->rect, ui_style::kListText, kFieldFrame);
    if (field->subControls & SC_ComboBoxArrow) {
      QStyleOptionComboBox arrow = *field;
      arrow.subControls = SC_ComboBoxArrow;
      arrow.palette = ClassicColours(field->palette, field->palette.button(), field->palette.buttonText());
      classic_->drawComplexControl(control, &arrow, painter, widget);
    }
    return;
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}
