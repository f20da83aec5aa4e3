#include "info/AboutBox_win.h"

#include "services/AppInfo.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

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
    EXPECT_EQ(info::GetFileVersionText(BesideThisProgram(L"Tavimbo.exe")),
              Widen(TAVIMBO_FILE_VERSION_TEXT));
}

TEST(GetFileVersionText, IsEmptyWithoutAVersionResource) {
    const std::wstring plain = BesideThisProgram(L"no-version-resource.txt");
    std::ofstream(std::filesystem::path(plain)) << "no version here";
    EXPECT_EQ(info::GetFileVersionText(plain), L"");
    DeleteFileW(plain.c_str());
    EXPECT_EQ(info::GetFileVersionText(BesideThisProgram(L"missing.exe")), L"");
}

// The executable's version resource, as the shell's Properties sheet reads it: the block in
// the resource's own language and code page, the language the resource is filed under.
struct VersionResource {
    std::vector<std::byte> data;
    LANGID filedUnder = 0;

    std::wstring Value(const std::wstring& block, const wchar_t* name) const {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\" + block + L"\\" + name;
        if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0) {
            return L"(none)";
        }
        return static_cast<const wchar_t*>(value);
    }
};

VersionResource ReadVersionResource(const std::wstring& exe) {
    VersionResource resource;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    resource.data.resize(size);
    GetFileVersionInfoW(exe.c_str(), 0, size, resource.data.data());
    const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EnumResourceLanguagesW(
        module, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
            *reinterpret_cast<LANGID*>(found) = language;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&resource.filedUnder));
    FreeLibrary(module);
    return resource;
}

TEST(VersionResource, NamesTheProductAndTheBuildInTheLanguageOfItsStrings) {
    const VersionResource resource = ReadVersionResource(BesideThisProgram(L"Tavimbo.exe"));
    ASSERT_FALSE(resource.data.empty());
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(resource.data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(Translation));
    EXPECT_EQ(translation->language, resource.filedUnder);
    wchar_t block[9]{};
    swprintf(block, 9, L"%04X%04X", translation->language, translation->codePage);

    // The About box's first line says "V" and the product version.
    EXPECT_EQ(L"V" + resource.Value(block, L"ProductVersion"), services::AppVersion);
    EXPECT_EQ(resource.Value(block, L"FileVersion"), Widen(TAVIMBO_FILE_VERSION_TEXT));
    EXPECT_EQ(resource.Value(block, L"LegalCopyright"), services::CopyrightText);
    // It says what the program does, not just its name again.
    EXPECT_NE(resource.Value(block, L"FileDescription").find(L"「送る」"), std::wstring::npos);
}

} // namespace
