// Stand-in for the shutdown until it lands: every close is accepted and
// nothing is saved. Delete this file when the shutdown provides
// Form_QueryUnload and Form_Unload.

#include "mainwindow/frmMain.h"

bool frmMain::Form_QueryUnload()
{
    return false;
}

void frmMain::Form_Unload() {}
