#include "common/widgets/twips_geometry.h"

#include "common/twips.h"

#include <QWidget>

#include <algorithm>

int PxAt(const QWidget* w, double twips)
{
    return TwipsToPx(twips, w->logicalDpiX());
}

double TwipsAt(const QWidget* w, int pixels)
{
    return PixelsToTwips(pixels, w->logicalDpiX());
}

void MoveTwips(QWidget* w, double left, double top, double width, double height)
{
    if (!w)
        return;
    w->setGeometry(PxAt(w, left), PxAt(w, top), std::max(0, PxAt(w, width)), std::max(0, PxAt(w, height)));
}

void MoveTwips(QWidget* w, double left, double top)
{
    if (w)
        w->move(PxAt(w, left), PxAt(w, top));
}

double LeftTwips(const QWidget* w) { return TwipsAt(w, w->x()); }
double TopTwips(const QWidget* w) { return TwipsAt(w, w->y()); }
double WidthTwips(const QWidget* w) { return TwipsAt(w, w->width()); }
double HeightTwips(const QWidget* w) { return TwipsAt(w, w->height()); }
