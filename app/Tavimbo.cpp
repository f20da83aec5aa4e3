// The program entry.
#include "app/Application.h"
#include "app/ErrorText.h"
#include "app/StartTrace.h"
#include "app/Unit1.h"
#include "platform/Error.h"
#include "platform/Handles.h"

#include <commctrl.h>

namespace {

// An error that escapes the entry itself ends the program; the application object may be
// gone by then, so the box stands alone.
int ReportFatal(const std::wstring& message) {
    MessageBoxW(nullptr, app::ErrorReportText(message).c_str(), AppTitle.data(), MB_ICONERROR);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    app::StartTrace("entry");
    // Only DLLs from System32 from here on: the program is often started from a Downloads
    // folder, where a planted DLL must never be picked up.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        app::StartTrace("common-controls");
        app::Application application(instance);
        app::StartTrace("application");
        const platform::ComInitialization com;
        app::StartTrace("com");
        TForm1 form(application);
        form.Show();
        app::StartTrace("shown");
        return application.Run();
    } catch (const platform::Error& error) {
        return ReportFatal(error.Message());
    } catch (...) {
        return ReportFatal(L"Unknown error");
    }
}
