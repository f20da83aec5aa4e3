#pragma once

#include "services/RunTag.h"

namespace services {

// This process's tag.
const RunTag& ThisRun();

// True only when the run that made a file is provably over: it is of this computer, and no
// process of that number started at that time is still running. A run of another computer, or
// one this process may not look at, is taken to be running still. This process's own run is
// not over.
bool RunHasEnded(const RunTag& tag);

} // namespace services
