// The program entry.
#include "services/AppInfo.h"
#include "services/Application_win.h"
#include "services/ErrorText.h"
#include "services/StartTrace_win.h"
#include "app/Unit1.h"
#include "platform/Error.h"
#include "platform/Handles.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <commctrl.h>

namespace {

// An error that escapes the entry itself ends the program; the application object may be
// gone by then, so the box stands alone.
int ReportFatal(const std::wstring& message) {
    MessageBoxW(nullptr, services::ErrorReportText(message).c_str(), services::AppTitle.data(),
                MB_ICONERROR);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    services::StartTrace("entry");
    // Only DLLs from System32 from here on: the program is often started from a Downloads
    // folder, where a planted DLL must never be picked up. Looked up, not imported: Windows 7
    // without KB2533623 lacks it, and would not start the program at all.
    if (const auto restrictDlls =
            reinterpret_cast<decltype(SetDefaultDllDirectories)*>(reinterpret_cast<void*>(
                GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")))) {
        restrictDlls(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    try {
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        services::StartTrace("common-controls");
        services::Application application(instance);
        services::StartTrace("application");
        const platform::ComInitialization com;
        services::StartTrace("com");
        app::TForm1 Form1(application);
        Form1.Show();
        services::StartTrace("shown");
        shortcuts::TakeUpEndedRunsTemporaries();
        const int exitCode = application.Run();
        // A write given up may still have its temporary file in one of the user's folders.
        shortcuts::EndShortcutWrites();
        return exitCode;
    } catch (const platform::Error& error) {
        return ReportFatal(error.Message());
    } catch (...) {
        return ReportFatal(L"Unknown error");
    }
}
