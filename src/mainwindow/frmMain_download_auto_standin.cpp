// Stand-in for the automatic mode until its own file lands: an instrument
// that connects while the automatic download is on is left alone.

#include "mainwindow/frmMain.h"

void frmMain::RunAutomaticMode() {}
