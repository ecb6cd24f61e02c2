#pragma once
// The box that tells the user a database operation of a panel failed.
#include "common/errors.h"

class QvifPort;

namespace browser {

// A database in use by another program is told in plain words with its
// file, and the statement goes to the serial log through port; any other
// failure shows "Database Error." with its text.
void ReportDatabaseError(const DatabaseError& e, QvifPort* port);

} // namespace browser
