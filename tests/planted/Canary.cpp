// A DLL planted under the name of a system DLL. Whatever loads it, it leaves "<its path>.ran"
// beside itself and then refuses to load, so that nothing goes on to call the system functions
// it does not have.

#include <windows.h>

#include <cwchar>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void* reserved);

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    wchar_t marker[MAX_PATH + 4]{};
    const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
    if (length < MAX_PATH) {
        std::wmemcpy(marker + length, L".ran", 4);
        CloseHandle(CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return FALSE;
}
