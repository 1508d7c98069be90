#pragma once
// Draws single-line edit boxes with the classic two-pixel sunken border
// (the same bevel QFrame::WinPanel gives the multi-line boxes), filled with
// the box's own background colour.

#include <QProxyStyle>

namespace galmora {

class SunkenEditStyle : public QProxyStyle {
    Q_OBJECT
  public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace galmora
