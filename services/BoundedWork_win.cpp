#include "services/BoundedWork_win.h"

#include "services/ModalGuard_win.h"

namespace services {
namespace {

DWORD TimeLeft(ULONGLONG end) {
    const ULONGLONG now = GetTickCount64();
    return now >= end ? 0 : static_cast<DWORD>(end - now);
}

} // namespace

bool WaitDispatching(HANDLE handle, DWORD bound) {
    const ModalGuard modal(nullptr);
    const ULONGLONG end = GetTickCount64() + bound;
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The program is ending: the loop that ends it gets the message back.
                const bool ended = WaitForSingleObject(handle, TimeLeft(end)) == WAIT_OBJECT_0;
                PostQuitMessage(static_cast<int>(message.wParam));
                return ended;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &handle, TimeLeft(end), QS_ALLINPUT,
                                                        MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1) {
            return woken == WAIT_OBJECT_0;
        }
    }
}

} // namespace services
