#pragma once
// The property grid of a picked tree node or list item as plain data.
#include "browser/grid_model.h"

#include "common/logdb.h"

#include <QString>

namespace browser {

struct PropertyGrid {
    GridModel grid;
    // Detail and Instrument are offered (a record key, or a key the browser
    // does not know; a folder gives the stub with both off).
    bool buttonsEnabled = true;
};

// The grid for key: the "Type"/"Folder" stub for a level or kind node, the
// description of a stored record read from the database for a record key.
// A record whose head is gone keeps the kind's header and size. Raises
// DatabaseError.
PropertyGrid BuildPropertyGrid(LogDb& db, const QString& key);

} // namespace browser
