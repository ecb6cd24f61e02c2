#include "common/focus_frame.h"

#include <QPainter>
#include <QRect>

void PaintFocusFrame(QPainter& p, const QRect& rect, int width, const QColor& colour)
{
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), width), colour);
    p.fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), colour);
    p.fillRect(QRect(rect.left(), rect.top(), width, rect.height()), colour);
    p.fillRect(QRect(rect.right() - width + 1, rect.top(), width, rect.height()), colour);
}
