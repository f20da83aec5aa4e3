// A program planted under the name of one the shell or the program may start (explorer.exe,
// hh.exe): it leaves "<its path>.ran" beside itself. Copied under its own name, it is also the
// control of the planting test: it imports the same system DLLs as Tavimbo.exe, but without a
// load configuration, so the DLLs planted beside it run inside it at start.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring marker = std::wstring(path, length) + L".ran";
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));

    // One call into each of the program's system DLLs, so that each is imported.
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (SUCCEEDED(CoInitialize(nullptr))) {
        CoUninitialize();
    }
    wchar_t folder[MAX_PATH]{};
    SHGetFolderPathW(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, folder);
    RegCloseKey(nullptr);
    DeleteObject(GetStockObject(NULL_BRUSH));
    return GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1;
}
