#include "info/HelpPage_win.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePropertiesRequest, IsTheShellRecordForThePropertiesSheet) {
    const std::wstring path = L"C:\\Tools\\Tavimbo.exe";
    const auto owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    const SHELLEXECUTEINFOW request = info::FilePropertiesRequest(owner, path);
    EXPECT_EQ(request.cbSize, 112u);
    EXPECT_EQ(request.fMask, 0x44Cu); // invoke ID list, no close process, no UI
    EXPECT_EQ(request.hwnd, owner);
    EXPECT_STREQ(request.lpVerb, L"properties");
    EXPECT_EQ(request.lpFile, path.c_str());
    EXPECT_EQ(request.lpParameters, nullptr);
    EXPECT_EQ(request.lpDirectory, nullptr);
    EXPECT_EQ(request.lpIDList, nullptr);
    EXPECT_EQ(request.nShow, 0);
    EXPECT_EQ(request.hInstApp, nullptr);
    EXPECT_EQ(request.lpClass, nullptr);
    EXPECT_EQ(request.hkeyClass, nullptr);
    EXPECT_EQ(request.dwHotKey, 0u);
    EXPECT_EQ(request.hProcess, nullptr);
}

} // namespace
