#include "common/widgets/shape_lamp.h"

#include "common/colors.h"

#include <QPainter>

ShapeLamp::ShapeLamp(QWidget* parent) : QWidget(parent) {}

void ShapeLamp::SetFillColor(std::int32_t color)
{
    if (m_fill == color)
        return;
    m_fill = color;
    update();
}

void ShapeLamp::SetBorderColor(std::int32_t color)
{
    if (m_border == color)
        return;
    m_border = color;
    update();
}

void ShapeLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(ColorFromWin(m_border), 1));
    p.setBrush(ColorFromWin(m_fill));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
