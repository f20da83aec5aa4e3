#include "services/RetryWhileShared_win.h"

#include "services/RetryWhileShared.h"

#include <windows.h>

namespace services {

bool RetryWhileShared(const std::function<bool()>& action) {
    constexpr DWORD Pause = 100; // milliseconds
    const SystemError error =
        RetryWhileShared([&]() -> SystemError { return action() ? ERROR_SUCCESS : GetLastError(); },
                         [] { Sleep(Pause); });
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

} // namespace services
