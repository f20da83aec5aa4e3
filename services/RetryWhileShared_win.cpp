#include "services/RetryWhileShared_win.h"

#include "services/RetryWhileShared.h"

#include <windows.h>

namespace services {

bool RetryWhileShared(bool (*action)(const void* context), const void* context) {
    constexpr DWORD Pause = 100; // milliseconds
    const SystemError error = RetrySharingViolations(
        [&]() -> SystemError { return action(context) ? ERROR_SUCCESS : GetLastError(); },
        [] { Sleep(Pause); });
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

} // namespace services
