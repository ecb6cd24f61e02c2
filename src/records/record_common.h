#pragma once
// Common services the record classes use, gathered in one place.
#include "common/appstate.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "common/services.h"
