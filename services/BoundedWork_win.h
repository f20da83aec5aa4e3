#pragma once

#include <windows.h>

#include <functional>

namespace services {

// Runs work on a thread of its own, COM initialised there, and waits for it at most bound
// milliseconds, the thread's windows painting meanwhile and no command starting, as while a box
// is open. True when the work ended in time; an error it raised is raised here. Past the bound
// it is given up, never stopped: it runs on to its end with what it holds, then runs abandoned
// there. The two functions own whatever they use.
bool RunWithinBound(std::function<void()> work, std::function<void()> abandoned, DWORD bound);

} // namespace services
