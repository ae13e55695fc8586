// The program's style: the platform style with the few changes the window's
// design asks for, for every widget of the program:
//   - a password field shows '*' for each character;
//   - a check box leaves 3 pixels between its box and its caption, and asks
//     for no more room than box, gap and caption;
//   - a tab is drawn in the classic raised look, its caption 5 pixels from
//     the tab's sides and 2 from its top and bottom, and stays in place
//     when chosen.
// A widget marked flat (ui_style::MarkFlat) is drawn in its palette's
// colours without shading:
//   - a drop-down list: the field filled with its Button colour inside a
//     1-pixel frame of the list text colour, the caption 4 pixels in, the
//     arrow on a classic button 16 pixels wide at the right; its open list
//     has the same frame and shows the entry under the mouse in the field's
//     colour;
//   - a header: each section filled with its Button colour, the caption
//     3 pixels from the sides.
// Nothing here runs a nested event loop.
#pragma once
#include <QProxyStyle>
#include <memory>

class ClassicParts;

class ProgramStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Over `platform` (taken over); the platform's own style when null.
  explicit ProgramStyle(QStyle* platform = nullptr);
  ~ProgramStyle() override;

  // Makes a ProgramStyle the application's style, over the style it has
  // now; does nothing when it already is one. Every window of the program
  // calls it before building its widgets.
  static void Install();

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                         const QWidget* widget) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;

 private:
  // The classic style, for the parts drawn in the classic look; its own
  // measures and primitives come from this style.
  std::unique_ptr<ClassicParts> classic_;
};
