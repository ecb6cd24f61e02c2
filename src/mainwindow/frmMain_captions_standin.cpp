// Stand-in for the captions until the caption loader lands: the window
// title and the menu, so the window can be used. Delete this file when
// frmMain_captions.cpp provides LoadCaptions.

#include "mainwindow/frmMain.h"

#include "common/appstate.h"
#include "mainwindow/res_standin.h"

#include <QGroupBox>
#include <QPushButton>

void frmMain::LoadCaptions()
{
    const QString part = App().ServiceMode ? QStringLiteral("30503")
                         : ResText(101) == QLatin1String("JP") ? QStringLiteral("30501")
                                                                : QStringLiteral("30502");
    setWindowTitle(ResText(5001) + QStringLiteral(" [P.No.") + part + QLatin1Char(']'));
    const char* menu[6] = {"Download", "Instrument Information", "Data", "Last Calibration", "Set", "Exit"};
    for (int i = 0; i < cmdInst.Count(); ++i)
        cmdInst(i)->setText(QString::fromLatin1(menu[i]));
    const char* panels[6] = {"Download", "Instrument Information", "Data", "Data View", "Last Calibration", "Set"};
    for (int i = 0; i < fraMenu.Count(); ++i)
        fraMenu(i)->setTitle(QString::fromLatin1(panels[i]));
}
