#include "services/RetryWhileShared_win.h"

#include <windows.h>

namespace services {

// Another program (a virus scanner, an indexer, an editor) often holds a file open for a
// moment only; a few tries over a short while get past it.
bool RetryWhileShared(bool (*action)(const void* context), const void* context) {
    constexpr int Tries = 5;
    constexpr DWORD Pause = 100; // milliseconds
    for (int attempt = 1;; ++attempt) {
        if (action(context)) {
            return true;
        }
        const DWORD error = GetLastError();
        // ReplaceFileW reports a replaced file held open without delete sharing either way.
        if (attempt == Tries ||
            (error != ERROR_SHARING_VIOLATION && error != ERROR_UNABLE_TO_REMOVE_REPLACED)) {
            return false;
        }
        Sleep(Pause);
    }
}

} // namespace services
