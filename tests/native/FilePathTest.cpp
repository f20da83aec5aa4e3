#include "app/FilePath.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePath, SplitsAndChangesExtensionsLikeWindowsPaths) {
    struct Case {
        const wchar_t* path;
        const wchar_t* withIni;
        const wchar_t* name;
        const wchar_t* directory;
    };
    const Case cases[] = {
        {L"C:\\Tools\\Tavimbo.exe", L"C:\\Tools\\Tavimbo.ini", L"Tavimbo.exe", L"C:\\Tools"},
        {L"C:\\Tavimbo.exe", L"C:\\Tavimbo.ini", L"Tavimbo.exe", L"C:\\"},
        {L"C:\\a.b\\Tavimbo", L"C:\\a.b\\Tavimbo.ini", L"Tavimbo", L"C:\\a.b"},
        {L"C:\\x\\name.tar.exe", L"C:\\x\\name.tar.ini", L"name.tar.exe", L"C:\\x"},
        {L"C:\\x\\name.", L"C:\\x\\name.ini", L"name.", L"C:\\x"},
        {L"C:/x/送る.EXE", L"C:/x/送る.ini", L"送る.EXE", L"C:/x"},
        {L"\\\\server\\share\\T.exe", L"\\\\server\\share\\T.ini", L"T.exe", L"\\\\server\\share"},
        {L"C:T.exe", L"C:T.ini", L"T.exe", L"C:"},
        {L"\\T.exe", L"\\T.ini", L"T.exe", L"\\"},
        {L"T.exe", L"T.ini", L"T.exe", L""},
        {L"", L".ini", L"", L""},
    };
    for (const Case& c : cases) {
        const std::wstring path = c.path;
        EXPECT_EQ(app::ChangeFileExtension(path, L".ini"), c.withIni)
            << testing::PrintToString(path);
        EXPECT_EQ(app::ExtractFileName(path), c.name) << testing::PrintToString(path);
        EXPECT_EQ(app::ExtractFileDirectory(path), c.directory) << testing::PrintToString(path);
    }
}

} // namespace
