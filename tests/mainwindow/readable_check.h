#pragma once
// What every screen must show a user in full, checked over a window and
// everything in it:
// - no two visible controls standing side by side in one container overlap,
//   and no control reaches outside its container (a frame's title included);
// - the text of every label, button, option, check box, frame title, combo
//   box and text box fits its control, a push button's caption with a
//   margin the width of an "x" on either side, inside the button's frame;
// - every grid column is at least as wide as its caption and the texts in
//   view, and, while the grid has room for all of them, lies inside the
//   visible width; every column of a list with headings lies inside the
//   visible width and is as wide as its texts in view, or it gives way: its
//   heading stays whole and each text it cuts shows whole in its tooltip;
//   scrolled to its top and to its end, a grid shows its
//   caption rows, whole rows under them (the last one whole at the end),
//   nothing laid over its rows, and caption cells a screen reader finds
//   where they are drawn;
// - an editor open in a grid cell shows its text whole, inside the rows;
// - a text pane shows each of its lines whole: one that wraps needs no
//   sideways scroll and each wrapped line fits its width, one that does not
//   wrap has room for its widest line;
// - no grid has a caption row left blank, and no list shows the headings
//   the view numbers by itself when it was given none.
// Each fault is one line that names the screen, the control and the sizes.
#include <QString>
#include <QPixmap>
#include <QStringList>

class QWidget;

// The faults of the window top (shown and laid out), each starting with where.
QStringList UnreadableParts(QWidget* top, const QString& where);

// A picture of the window top with every grid in it scrolled to its end.
QPixmap GrabWithGridsAtEnd(QWidget* top);
