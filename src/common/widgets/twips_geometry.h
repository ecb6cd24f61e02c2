#pragma once
// Geometry of controls in twips at the logical DPI of the control itself, so
// a panel can place its controls without asking the window that holds it.

class QWidget;

// Pixels for a length in twips at the widget's logical DPI, and back.
int PxAt(const QWidget* w, double twips);
double TwipsAt(const QWidget* w, int pixels);
// Moves and sizes a control (in its container's coordinates); sizes never
// go negative, whatever a formula gives on a small window.
void MoveTwips(QWidget* w, double left, double top, double width, double height);
void MoveTwips(QWidget* w, double left, double top);
double LeftTwips(const QWidget* w);
double TopTwips(const QWidget* w);
double WidthTwips(const QWidget* w);
double HeightTwips(const QWidget* w);
