#include "services/BoundedWork_win.h"

#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "services/ModalGuard_win.h"

#include <exception>
#include <memory>
#include <mutex>

namespace services {
namespace {

// Shared by the thread and its waiter: whoever ends last frees it.
struct Job {
    std::function<void()> work;
    std::function<void()> abandoned;
    std::exception_ptr error;
    std::mutex mutex; // orders the end of the work against the waiter giving up
    bool ended = false;
    bool givenUp = false;
};

DWORD WINAPI RunJob(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Job>> share(
        static_cast<std::shared_ptr<Job>*>(parameter));
    Job& job = **share;
    {
        const platform::ComInitialization com;
        try {
            job.work();
        } catch (...) {
            job.error = std::current_exception();
        }
    }
    const std::lock_guard lock(job.mutex);
    job.ended = true;
    if (job.givenUp) {
        try {
            job.abandoned();
        } catch (...) {
            // No one is left to report to.
        }
    }
    return 0;
}

DWORD TimeLeft(ULONGLONG end) {
    const ULONGLONG now = GetTickCount64();
    return now >= end ? 0 : static_cast<DWORD>(end - now);
}

// Dispatches the thread's messages until the handle is signalled or the time is up.
bool WaitDispatching(HANDLE handle, DWORD bound) {
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

} // namespace

bool RunWithinBound(std::function<void()> work, std::function<void()> abandoned, DWORD bound) {
    const auto job = std::make_shared<Job>();
    job->work = std::move(work);
    job->abandoned = std::move(abandoned);
    auto threadsShare = std::make_unique<std::shared_ptr<Job>>(job);
    const platform::UniqueHandle thread(
        CreateThread(nullptr, 0, &RunJob, threadsShare.get(), 0, nullptr));
    if (!thread) {
        platform::ThrowLastError();
    }
    threadsShare.release(); // the thread's now
    bool ended = false;
    {
        const ModalGuard modal(nullptr);
        ended = WaitDispatching(thread.get(), bound);
    }
    const std::lock_guard lock(job->mutex);
    if (!ended && !job->ended) {
        job->givenUp = true;
        return false;
    }
    if (job->error) {
        std::rethrow_exception(job->error);
    }
    return true;
}

} // namespace services
