// Starts a program once and prints, on one line, the milliseconds from its creation to its
// first visible top-level window and its peak working set in bytes; then closes it again.
// bench/run calls it many times under Wine and takes the medians.
#include "platform/Handles.h"

#include <psapi.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr double StartTimeoutMs = 60000;
constexpr DWORD IdleTimeoutMs = 10000;
constexpr DWORD ExitTimeoutMs = 30000;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) noexcept {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int Fail(const wchar_t* what) {
    std::fwprintf(stderr, L"Measure: %ls (error %lu)\n", what, GetLastError());
    return 1;
}

double Frequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / Frequency();
}

int Measure(const std::filesystem::path& program) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &created)) {
        return Fail(L"cannot start the program");
    }
    const platform::UniqueHandle process(created.hProcess);
    const platform::UniqueHandle thread(created.hThread);

    WindowSearch search{created.dwProcessId, nullptr};
    double startupMs = 0;
    for (;;) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        startupMs = MillisecondsSince(start);
        if (search.found != nullptr) {
            break;
        }
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
            return Fail(L"the program ended before it showed a window");
        }
        if (startupMs > StartTimeoutMs) {
            TerminateProcess(process.get(), 1);
            return Fail(L"the program showed no window in time");
        }
        Sleep(1);
    }

    // The window is visible but perhaps not painted yet; painting belongs to the start.
    WaitForInputIdle(process.get(), IdleTimeoutMs);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!K32GetProcessMemoryInfo(process.get(), &memory, sizeof memory)) {
        TerminateProcess(process.get(), 1);
        return Fail(L"cannot read the working set");
    }

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), ExitTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return Fail(L"the program did not close on WM_CLOSE (did it ask something?)");
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.get(), &exitCode) || exitCode != 0) {
        std::fwprintf(stderr, L"Measure: the program exited with code %lu\n", exitCode);
        return 1;
    }

    std::printf("%.1f %llu\n", startupMs,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    return 0;
}

} // namespace

// MinGW's headers do not declare the wide entry point.
int wmain(int argc, wchar_t* argv[]);

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: Measure PROGRAM.exe\n");
        return 2;
    }
    // A fresh copy in a scratch folder for every start, so that no settings file written beside
    // the program by an earlier start changes this one.
    const std::filesystem::path original(argv[1]);
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() /
        (L"tavimbo-bench-" + std::to_wstring(GetCurrentProcessId()));
    const std::filesystem::path copy = scratch / original.filename();
    std::error_code error;
    std::filesystem::create_directories(scratch, error);
    if (error || !std::filesystem::copy_file(
                     original, copy, std::filesystem::copy_options::overwrite_existing, error)) {
        std::fwprintf(stderr, L"Measure: cannot copy %ls to %ls\n", original.c_str(), copy.c_str());
        return 1;
    }
    const int result = Measure(copy);
    std::filesystem::remove_all(scratch, error);
    return result;
}
