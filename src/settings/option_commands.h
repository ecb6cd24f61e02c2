#pragma once
#include <QDateTime>
#include <QFont>
#include <QString>
#include <cstdint>

// Rules and texts of the option pane's commands (display font, graph
// colours, DEFAULT, the two memory dump lists), free of widgets.

// DEFAULT and the dump lists may start only while the live readings are off
// (the calibration frame is not in use) and no span adjustment (process
// state 4) or state 7 runs.
bool OptionCommandBusy(bool liveReadingsOn, std::int32_t processState);

// The two memory dump lists.
enum class DumpKind { Fram, EepRom };

struct DumpListTexts {
    QString confirm;   // the question box's text (fixed, two lines)
    QString caption;   // the progress window's caption
    QString startLine; // log pane, brown
    QString endLine;   // log pane, brown
    QString failLine;  // log pane, red, when the request failed
    QString fileName;  // in the program's folder
};
DumpListTexts DumpTexts(DumpKind kind);

// The title of the dump lists' question box.
QString DumpBoxTitle();

// The dump file's full path in folder (no doubled separator).
QString DumpFilePath(const QString& folder, DumpKind kind);

// Serial-log lines around a dump list: the start with its time, and the end
// with its time and the elapsed time as "hh:mm:ss" ("Finished" or, for a
// request that failed, "Failed").
QString DumpStartedSerialLine(const QDateTime& start);
QString DumpEndedSerialLine(const QDateTime& start, const QDateTime& end, bool ok);

// The font button's caption: the family and, in parentheses, the point
// size as plain number text ("Arial(9)", "Sans Serif(10.5)").
QString FontCaption(const QFont& font);

// The graph series that colour button index (1 or 2) recolours: gas 1 is
// series 0. -1 for any other index.
int ColorButtonSeries(int index);
