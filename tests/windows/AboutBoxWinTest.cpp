#include "info/AboutBox_win.h"

#include "Version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::wstring BesideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

TEST(GetFileVersionText, IsTheVersionTheBuildStamped) {
    EXPECT_EQ(GetFileVersionText(BesideThisProgram(L"Tavimbo.exe")),
              Widen(TAVIMBO_FILE_VERSION_TEXT));
}

TEST(GetFileVersionText, IsEmptyWithoutAVersionResource) {
    const std::wstring plain = BesideThisProgram(L"no-version-resource.txt");
    std::ofstream(std::filesystem::path(plain)) << "no version here";
    EXPECT_EQ(GetFileVersionText(plain), L"");
    DeleteFileW(plain.c_str());
    EXPECT_EQ(GetFileVersionText(BesideThisProgram(L"missing.exe")), L"");
}

} // namespace
