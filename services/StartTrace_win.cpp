#include "services/StartTrace_win.h"

#ifdef TAVIMBO_START_TRACE

#include "platform/Handles.h"

#include <cstdio>

namespace services {

// Appends "step milliseconds processor-milliseconds" to the file that the environment variable
// TAVIMBO_START_TRACE names: the time since the creation of the process, so that the loader's
// share before the entry shows too, and the processor time that this thread has used, which
// other work on a busy machine changes less.
void StartTrace(const char* step) noexcept {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TAVIMBO_START_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    FILETIME created{};
    FILETIME unused{};
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    FILETIME kernel{};
    FILETIME user{};
    GetThreadTimes(GetCurrentThread(), &unused, &unused, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const double milliseconds = static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
    const double processor = static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
    char line[128];
    const int size =
        std::snprintf(line, sizeof line, "%s %.1f %.1f\r\n", step, milliseconds, processor);
    const platform::UniqueHandle file(CreateFileW(path, FILE_APPEND_DATA,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file.get(), line, static_cast<DWORD>(size), &written, nullptr);
}

} // namespace services

namespace {

// Made before every other static object of the program: the loader and the C runtime have
// started the process, and the C++ runtime's and the program's static objects come next, up to
// the entry.
struct RuntimeStarted {
    RuntimeStarted() noexcept { services::StartTrace("runtime"); }
};
#ifdef __GNUC__
__attribute__((init_priority(101)))
#endif
const RuntimeStarted runtimeStarted;

} // namespace

#endif
