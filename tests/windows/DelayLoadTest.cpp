// A function that shell32 lacks, delay-imported through a library that MinGW's dlltool makes
// for this test (tests/CMakeLists.txt).
#ifdef __MINGW32__
#include "platform/Error.h"
#include "platform/Win32Error.h"

#include <gtest/gtest.h>

extern "C" void WINAPI TavimboMissingFunction();

namespace {

TEST(DelayLoad, AFailedLoadThrowsTheProgramsOwnError) {
    try {
        TavimboMissingFunction();
        ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
        EXPECT_EQ(error.Message(), L"Cannot find TavimboMissingFunction in SHELL32.dll. " +
                                       platform::SystemErrorText(ERROR_PROC_NOT_FOUND));
    }
}

} // namespace
#endif
