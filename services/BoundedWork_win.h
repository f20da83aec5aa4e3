#pragma once

#include "platform/Handles.h"
#include "platform/Win32Error.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <memory>
#include <utility>

namespace services {

// How long the window waits for work that may reach a server that does not answer, as a target
// of a shortcut or a folder to make may be, before it gives the work up.
inline constexpr DWORD ServerBound = 5000; // milliseconds

// What work run within a bound shares with its waiter, besides its own data.
struct BoundedRun {
    // Whichever of the thread ending and the waiter giving up comes first decides who frees
    // the work.
    enum class State { Running, Ended, GivenUp };
    std::atomic<State> state = State::Running;
    std::exception_ptr error;
};

// Dispatches the thread's messages until the handle is signalled or bound milliseconds have
// passed, every window of the program disabled meanwhile as under a box: they paint, but no
// command starts. True when the handle was signalled.
bool WaitDispatching(HANDLE handle, DWORD bound);

// Runs work->Run() on a thread of its own, COM initialised there, and waits for it at most
// bound milliseconds (WaitDispatching). True when it ended in time; an error it raised is
// raised here. Past the bound it is given up, never stopped: the thread takes the work over
// (work is left empty) and frees it once it has ended and called Abandon(), which undoes what
// no one will take up, as it does when Run raised an error. Work is a BoundedRun with Run()
// and Abandon().
template <class Work> bool RunWithinBound(std::unique_ptr<Work>& work, DWORD bound) {
    const LPTHREAD_START_ROUTINE run = [](void* parameter) -> DWORD {
        Work& ran = *static_cast<Work*>(parameter);
        {
            const platform::ComInitialization com;
            try {
                ran.Run();
            } catch (...) {
                ran.error = std::current_exception();
            }
        }
        const bool failed = static_cast<bool>(ran.error);
        if (failed) {
            ran.Abandon();
        }
        if (ran.state.exchange(BoundedRun::State::Ended) == BoundedRun::State::GivenUp) {
            const std::unique_ptr<Work> owner(&ran);
            if (!failed) {
                owner->Abandon();
            }
        }
        return 0;
    };
    const platform::UniqueHandle thread(CreateThread(nullptr, 0, run, work.get(), 0, nullptr));
    if (!thread) {
        platform::ThrowLastError();
    }
    auto running = BoundedRun::State::Running;
    if (!WaitDispatching(thread.get(), bound) &&
        work->state.compare_exchange_strong(running, BoundedRun::State::GivenUp)) {
        static_cast<void>(work.release()); // the thread's now
        return false;
    }
    if (work->error) {
        std::rethrow_exception(work->error);
    }
    return true;
}

// call() run as RunWithinBound runs work, on a copy of call that the thread keeps: its result,
// or givenUp when it did not end within the bound.
template <class Result, class Call> Result CallWithinBound(Call call, DWORD bound, Result givenUp) {
    struct Work final : BoundedRun {
        explicit Work(Call&& given) : call(std::move(given)) {}
        void Run() { result = call(); }
        void Abandon() const noexcept {}
        Call call;
        Result result{};
    };
    auto work = std::make_unique<Work>(std::move(call));
    return RunWithinBound(work, bound) ? std::move(work->result) : givenUp;
}

} // namespace services
