#pragma once
// The browser's list of one tree node as plain data: the sub-folders of a
// level node, or the stored records of a kind node.
#include "browser/log_tree.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace browser {

struct LogListColumn {
    QString caption;
    double width;     // fraction of the list's width
    int givesWay = 0; // where the list cannot show every text, the order in
                      // which the column is narrowed, its texts elided (0:
                      // never; the date and time always read whole)
};

struct LogListRow {
    QString key;
    QStringList texts; // one per column
    QString icon;      // icon name of the item
};

struct LogListing {
    bool records = false; // a record listing (else a folder listing)
    std::vector<LogListColumn> columns;
    std::vector<LogListRow> rows;
};

// The listing of the node at index of model: for a level node its
// children (header "1 C" captioned after their level), for a kind node its
// stored records in SeqNo order (Name trimmed, identity cells as stored,
// Null as an empty cell, the date in "General Date"). Raises DatabaseError.
LogListing BuildLogListing(LogDb& db, const LogTreeModel& model, int index);

} // namespace browser
