#pragma once

// A fresh folder of each test's own in the temporary folder, removed with all it holds
// afterwards. It is named after the test: ctest runs the tests side by side, one process each.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1]{};
        GetTempPathW(MAX_PATH + 1, temp);
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

    std::filesystem::path folder_;

private:
    void RemoveAll() const { RemoveTree(L"\\\\?\\" + folder_.wstring()); }

    // Deepest first, by the long form, which reaches past 260 characters (the standard
    // library's folder listing does not).
    static void RemoveTree(const std::wstring& path) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more;
             more = FindNextFileW(search, &found) != FALSE) {
            const std::wstring name = found.cFileName;
            const std::wstring child = path + L"\\" + name;
            if (name == L"." || name == L"..") {
                continue;
            }
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }
};
