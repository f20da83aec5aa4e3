#pragma once

// A fresh folder of each test's own in the temporary folder, removed with all it holds
// afterwards. It is named after the test: ctest runs the tests side by side, one process each.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        wchar_t shortTemp[MAX_PATH + 1]{};
        GetTempPathW(MAX_PATH + 1, shortTemp);
        // The temporary folder may be given in its 8.3 form (C:\Users\RUNNER~1\...), while the
        // shell and the program answer in the long one.
        wchar_t temp[MAX_PATH + 1]{};
        ASSERT_NE(GetLongPathNameW(shortTemp, temp, MAX_PATH + 1), 0u);
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("tavimbo-") + test->name();
        folder_ = std::wstring(temp) + std::wstring(name.begin(), name.end());
        RemoveAll(); // left by a run that did not finish
        ASSERT_TRUE(std::filesystem::create_directory(folder_)) << folder_.string();
    }
    void TearDown() override { RemoveAll(); }

    std::wstring Path(std::wstring_view name) const { return (folder_ / name).wstring(); }

    // A file of the folder with that content; its path.
    std::wstring Write(std::wstring_view name, std::string_view content) const {
        const std::wstring path = Path(name);
        EXPECT_TRUE(std::ofstream(std::filesystem::path(path), std::ios::binary) << content)
            << "cannot write " << testing::PrintToString(path);
        return path;
    }

    // The names in the folder, in the order Windows lists them.
    std::vector<std::wstring> FolderContents() const { return Names(LongForm()); }

    std::filesystem::path folder_;

private:
    // Reaches past 260 characters, where the standard library's folder listing does not.
    std::wstring LongForm() const { return L"\\\\?\\" + folder_.wstring(); }
    void RemoveAll() const { RemoveTree(LongForm()); }

    static std::vector<std::wstring> Names(const std::wstring& folder) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more;
             more = FindNextFileW(search, &found) != FALSE) {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        }
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
        return names;
    }

    // Deepest first.
    static void RemoveTree(const std::wstring& path) {
        for (const std::wstring& name : Names(path)) {
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(child.c_str())) {
                RemoveTree(child); // a folder
            }
        }
        RemoveDirectoryW(path.c_str());
    }
};
