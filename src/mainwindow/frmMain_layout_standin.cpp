// Stand-in for the layout pass until the layout lands: the panel frames
// and the menu column only. Delete this file when frmMain_layout.cpp
// provides Form_Resize.

#include "mainwindow/frmMain.h"

#include <QGroupBox>
#include <QPushButton>

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    const double sw = ScaleWidth();
    const double sh = ScaleHeight();
    const double menu = 0.12 * sw;
    for (QGroupBox* f : fraMenu)
        MoveTwips(f, 0, 120, sw - menu - 240, sh - 180);
    const double h = (sh - 840) / cmdInst.Count();
    for (int i = 0; i < cmdInst.Count(); ++i)
        MoveTwips(cmdInst(i), sw - menu - 120, 180 + i * (h + 120), menu, h);
}
