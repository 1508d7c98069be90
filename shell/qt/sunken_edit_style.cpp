#include "shell/qt/sunken_edit_style.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleOption>

namespace galmora {

void SunkenEditStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelLineEdit) {
        QBrush fill = option->palette.brush(QPalette::Base);
        auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (frame && frame->lineWidth > 0)
            qDrawWinPanel(painter, option->rect, option->palette, true, &fill);
        else
            painter->fillRect(option->rect, fill);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace galmora
