// The stack protector's canary and its failure, for MinGW links, in place of GCC's libssp. Its
// canary comes from CryptAcquireContext, which loads the RSA provider and reads its registry
// keys before the entry, at every start of every program: some 13 ms of processor time under
// Wine, the costliest step of the runtime's start. RtlGenRandom gives the same system randomness
// from ADVAPI32, which every program here imports already. A smashed stack ends the process at
// once, the way the Microsoft compiler's /GS does (__fastfail), running no handler of its own.
#include <windows.h>

#include <ntsecapi.h>

#include <cstdint>

extern "C" {

// Used by every function that the protector guards; never zero, so that a canary read before
// the constructor below would still be checked against something.
std::uintptr_t __stack_chk_guard = 0x2B992DDFA232;

[[noreturn]] void __stack_chk_fail();

// Nothing may run first: with the stack smashed, even a debug string dispatches an exception
// through whatever handlers the attacker's data now reaches.
[[noreturn]] void __stack_chk_fail() {
    // __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE)
    asm volatile("int $0x29" : : "c"(2) : "memory");
    __builtin_unreachable();
}
}

namespace {

// Runs before the C++ runtime's and the program's static objects, as libssp's setup did. It
// has no buffer of its own, so it is not guarded itself while it changes the canary.
__attribute__((constructor(101), no_stack_protector)) void SetUpStackGuard() {
    if (RtlGenRandom(&__stack_chk_guard, sizeof __stack_chk_guard) && __stack_chk_guard != 0) {
        return;
    }
    // No system randomness: what the CRT's security cookie starts from.
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    __stack_chk_guard =
        (static_cast<std::uintptr_t>(counter.QuadPart) ^ GetCurrentProcessId() ^
         (static_cast<std::uintptr_t>(GetCurrentThreadId()) << 32) ^ GetTickCount64()) |
        1;
}

} // namespace
