// The stack protector's own canary and failure of MinGW links (cmake/StackGuard.cpp).
#ifdef __MINGW32__
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

extern "C" std::uintptr_t __stack_chk_guard;
extern "C" [[noreturn]] void __stack_chk_fail();

namespace {

TEST(StackGuard, TheCanaryIsRandomAndASmashedStackEndsTheProcessAtOnce) {
    EXPECT_NE(__stack_chk_guard, std::uintptr_t{0x2B992DDFA232}) << "never set up";
    // A handler that would see any exception dispatched before the process ends.
    EXPECT_EXIT(
        {
            AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS*) -> LONG { ExitProcess(3); });
            __stack_chk_fail();
        },
        testing::ExitedWithCode(static_cast<int>(STATUS_STACK_BUFFER_OVERRUN)), "");
}

} // namespace
#endif
