#pragma once
// The keyboard focus frame that controls drawing their own surface show
// (the graph, its scroll bar, a grid's current cell).
#include <QColor>

class QPainter;
class QRect;

// Paints a frame of width pixels along the inside of rect.
void PaintFocusFrame(QPainter& painter, const QRect& rect, int width, const QColor& colour);
