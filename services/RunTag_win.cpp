#include "services/RunTag_win.h"

#include "platform/Handles.h"

#include <windows.h>

namespace services {
namespace {

std::uint64_t StartTime(HANDLE process) {
    FILETIME created{};
    FILETIME unused[3]{};
    if (!GetProcessTimes(process, &created, &unused[0], &unused[1], &unused[2])) {
        return 0;
    }
    return std::uint64_t{created.dwHighDateTime} << 32 | created.dwLowDateTime;
}

constexpr wchar_t Nameless[] = L".";

RunTag MakeThisRun() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    // Without a name, one that no computer has (no name starts with a dot), yet one a file's
    // name may hold: the files stay unless this run takes them.
    const bool named = GetComputerNameW(computer, &size) != FALSE && size != 0;
    return RunTag{named ? std::wstring(computer, size) : std::wstring(Nameless),
                  GetCurrentProcessId(), StartTime(GetCurrentProcess())};
}

// Made as the program starts (see platform/Dpi.cpp), never destroyed: a shortcut write given
// up may still read it while the program's statics go.
const RunTag& thisRun = *new RunTag(MakeThisRun());

} // namespace

const RunTag& ThisRun() {
    return thisRun;
}

bool RunHasEnded(const RunTag& tag) {
    const RunTag& self = ThisRun();
    if (tag.computer != self.computer || self.computer == Nameless || tag == self) {
        return false;
    }
    const platform::UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, tag.processId));
    if (!process) {
        // No such process; any other refusal says nothing about it.
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    const std::uint64_t started = StartTime(process.get());
    if (started == 0) {
        return false;
    }
    if (started != tag.startTime) {
        return true; // the number was given to another process since
    }
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

} // namespace services
