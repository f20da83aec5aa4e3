// MinGW's dlltool makes the delay-import libraries of these functions for the tests
// (tests/CMakeLists.txt): one that shell32 lacks, one of a library that does not exist.
#ifdef __MINGW32__
#include "platform/Error.h"
#include "platform/Win32Error.h"

#include <gtest/gtest.h>

extern "C" void WINAPI TavimboMissingFunction();
extern "C" void WINAPI TavimboMissingLibraryFunction();

namespace {

TEST(DelayLoad, AFailedLoadThrowsTheProgramsOwnError) {
    struct Case {
        void(WINAPI* call)();
        std::wstring message;
    };
    const Case cases[] = {
        {TavimboMissingFunction, L"Cannot find TavimboMissingFunction in SHELL32.dll. " +
                                     platform::SystemErrorText(ERROR_PROC_NOT_FOUND)},
        {TavimboMissingLibraryFunction,
         L"Cannot load TavimboMissing.dll. " + platform::SystemErrorText(ERROR_MOD_NOT_FOUND)},
    };
    for (const Case& c : cases) {
        std::wstring message = L"<no error>";
        try {
            c.call();
        } catch (const platform::Error& error) {
            message = error.Message();
        }
        EXPECT_EQ(message, c.message);
    }
}

} // namespace
#endif
