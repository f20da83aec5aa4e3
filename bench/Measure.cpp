// Starts a program once, measures its start and closes it again. bench/run calls it many times
// under Wine and takes the medians. Printed on one line:
// - plain start: milliseconds from its creation to its first visible top-level window, to
//   "ready" (that window shown, painted and the program waiting for input), its peak working
//   set in bytes and the processor time it had used by then in milliseconds (what other work
//   on a busy machine changes least);
// - with --received: the program is given a file whose shortcut already lies in the SendTo
//   folder, so the question about that shortcut comes first; milliseconds from its creation to
//   that box being visible. The box is answered with Cancel and the main window closed.
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
    bool wantDialog; // a message box, or any other visible window
    HWND found;
};

bool IsDialog(HWND window) {
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) noexcept {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window) &&
        IsDialog(window) == search->wantDialog) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int Fail(const wchar_t* what) {
    std::fwprintf(stderr, L"Measure: %ls (error %lu)\n", what, GetLastError());
    return 1;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

class Run {
public:
    // Starts the program with the arguments given (may be empty).
    explicit Run(const std::filesystem::path& program, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + program.wstring() + L"\"";
        if (!arguments.empty()) {
            commandLine += L" " + arguments;
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        QueryPerformanceCounter(&start_);
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, program.parent_path().c_str(), &startup, &created)) {
            return;
        }
        process_.reset(created.hProcess);
        thread_.reset(created.hThread);
        processId_ = created.dwProcessId;
    }
    ~Run() {
        if (process_ && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_.get(), 1);
        }
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    HANDLE Process() const { return process_.get(); }
    double Elapsed() const { return MillisecondsSince(start_); }

    // Polls until a visible window of the kind asked for appears; null when the program ended
    // or took too long.
    HWND WaitForWindow(bool dialog) const {
        WindowSearch search{processId_, dialog, nullptr};
        for (;;) {
            EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                return search.found;
            }
            if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
                Fail(L"the program ended before it showed the window");
                return nullptr;
            }
            if (Elapsed() > StartTimeoutMs) {
                Fail(L"the program showed no window in time");
                return nullptr;
            }
            Sleep(1);
        }
    }

    // Closes the main window and checks a clean exit.
    bool Close(HWND window) const {
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), ExitTimeoutMs) != WAIT_OBJECT_0) {
            Fail(L"the program did not close on WM_CLOSE (did it ask something?)");
            return false;
        }
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(process_.get(), &exitCode) || exitCode != 0) {
            std::fwprintf(stderr, L"Measure: the program exited with code %lu\n", exitCode);
            return false;
        }
        return true;
    }

private:
    LARGE_INTEGER start_{};
    platform::UniqueHandle process_;
    platform::UniqueHandle thread_;
    DWORD processId_ = 0;
};

int MeasurePlain(const std::filesystem::path& program) {
    const Run run(program, {});
    if (!run.Started()) {
        return Fail(L"cannot start the program");
    }
    const HWND window = run.WaitForWindow(false);
    const double visibleMs = run.Elapsed();
    if (window == nullptr) {
        return 1;
    }
    // Visible is not yet painted: the start ends when the program waits for input.
    if (WaitForInputIdle(run.Process(), IdleTimeoutMs) != 0) {
        return Fail(L"the program did not become idle");
    }
    const double readyMs = run.Elapsed();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!K32GetProcessMemoryInfo(run.Process(), &memory, sizeof memory)) {
        return Fail(L"cannot read the working set");
    }
    FILETIME unused{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(run.Process(), &unused, &unused, &kernel, &user)) {
        return Fail(L"cannot read the processor time");
    }
    if (!run.Close(window)) {
        return 1;
    }
    auto milliseconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               10000.0;
    };
    std::printf("%.1f %.1f %llu %.1f\n", visibleMs, readyMs,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                milliseconds(kernel) + milliseconds(user));
    return 0;
}

int MeasureReceived(const std::filesystem::path& program, const std::filesystem::path& scratch) {
    wchar_t sendTo[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, sendTo))) {
        return Fail(L"cannot find the SendTo folder");
    }
    // The program only asks whether the shortcut is there; an empty file is enough for that.
    const std::wstring name = scratch.filename().wstring();
    const std::filesystem::path received = scratch / (name + L".txt");
    const std::filesystem::path shortcut = std::filesystem::path(sendTo) / (name + L".Lnk");
    for (const auto& file : {received, shortcut}) {
        const platform::UniqueHandle created(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr,
                                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                         nullptr));
        if (created.get() == INVALID_HANDLE_VALUE) {
            return Fail(L"cannot create the received file or its shortcut");
        }
    }
    struct Remover {
        std::filesystem::path path;
        ~Remover() { DeleteFileW(path.c_str()); }
    } removeShortcut{shortcut};

    const Run run(program, L"\"" + received.wstring() + L"\"");
    if (!run.Started()) {
        return Fail(L"cannot start the program");
    }
    const HWND box = run.WaitForWindow(true);
    const double boxMs = run.Elapsed();
    if (box == nullptr) {
        return 1;
    }
    // Cancel leaves the shortcut as it is and asks nothing more.
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    const HWND window = run.WaitForWindow(false);
    if (window == nullptr || !run.Close(window)) {
        return 1;
    }
    std::printf("%.1f\n", boxMs);
    return 0;
}

} // namespace

// MinGW's headers do not declare the wide entry point.
int wmain(int argc, wchar_t* argv[]);

int wmain(int argc, wchar_t* argv[]) {
    const bool received = argc == 3 && std::wstring_view(argv[2]) == L"--received";
    if (argc != 2 && !received) {
        std::fwprintf(stderr, L"usage: Measure PROGRAM.exe [--received]\n");
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
    const int result = received ? MeasureReceived(copy, scratch) : MeasurePlain(copy);
    std::filesystem::remove_all(scratch, error);
    return result;
}
