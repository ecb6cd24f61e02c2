#pragma once
// Stand-ins for common services that have not landed yet: the settings file. Replaced by the common library's functions.
#include "common/appstate.h"

#include <QString>

inline void StandInReadSettings() {}
