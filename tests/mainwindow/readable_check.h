#pragma once
// What every screen must show a user in full, checked over a window and
// everything in it:
// - no two visible controls standing side by side in one container overlap,
//   and no control reaches outside its container (a frame's title included);
// - the text of every label, button, option, check box, frame title, combo
//   box and text box fits its control;
// - every grid or list column is at least as wide as its caption and the
//   texts in view, and, while the grid has room for all of them, lies inside
//   the visible width; the caption rows of a grid stay in view when it is
//   scrolled to its end;
// - a text pane that does not wrap its lines shows each of them whole;
// - no grid has a caption row left blank, and no list shows the headings
//   the view numbers by itself when it was given none.
// Each fault is one line that names the screen, the control and the sizes.
#include <QString>
#include <QStringList>

class QWidget;

// The faults of the window top (shown and laid out), each starting with where.
QStringList UnreadableParts(QWidget* top, const QString& where);
