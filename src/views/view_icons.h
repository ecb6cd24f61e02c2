#pragma once
#include <QPixmap>

// The 32 x 32 pictures of the trend search: a small trend graph whose red
// curve rises over a blue and a green one (graph), and a table with a grey
// header row and one red row among white rows (table). They serve as the
// pointer over a search target and as the Data View window's icon.
QPixmap AlarmIcon(bool graph);
