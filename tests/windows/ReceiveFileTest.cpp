#include "shortcuts/ReceivedFile_win.h"

#include "platform/Handles.h"
#include "platform/ShellLink.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr DWORD LinguisticLowerCaseFlags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;

TEST(LinguisticLowerCase, LowersExtensionsInEveryLetterCase) {
    struct Case {
        const wchar_t* text;
        const wchar_t* lowered;
    };
    const Case cases[] = {
        {L".LNK", L".lnk"},
        {L".Lnk", L".lnk"},
        {L".lNk", L".lnk"},
        {L".lnk", L".lnk"},
        {L".TXT", L".txt"},
        {L".ÉTÉ", L".été"},
        {L".ＬＮＫ", L".ｌｎｋ"}, // full-width letters stay
                                  // full-width
        {L".", L"."},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortcuts::LinguisticLowerCase(c.text), c.lowered)
            << "text: " << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(LinguisticLowerCase, KeepsTheLocaleOfTheProgramStart) {
    const LCID started = GetThreadLocale();
    constexpr LCID turkish =
        MAKELCID(MAKELANGID(LANG_TURKISH, SUBLANG_TURKISH_TURKEY), SORT_DEFAULT);
    wchar_t inTurkish[2]{};
    ASSERT_NE(LCMapStringW(turkish, LinguisticLowerCaseFlags, L"I", 1, inTurkish, 2), 0);
    wchar_t atStart[2]{};
    ASSERT_NE(LCMapStringW(started, LinguisticLowerCaseFlags, L"I", 1, atStart, 2), 0);

    ASSERT_TRUE(SetThreadLocale(turkish));
    const std::wstring lowered = shortcuts::LinguisticLowerCase(L"I");
    SetThreadLocale(started);
    EXPECT_EQ(lowered, atStart);
    EXPECT_NE(std::wstring(atStart), inTurkish) << "Turkish casing is no different here";
}

// A drop handle as the shell builds it: the names one after another, each ended by a NUL, and
// one more NUL after the last.
platform::DropHandle DropOf(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) {
        list += name;
        list += L'\0';
    }
    list += L'\0';
    const size_t size = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    if (header == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return platform::DropHandle(static_cast<HDROP>(memory));
}

TEST(FirstDroppedName, IsTheWholeFirstNameOrNothing) {
    const std::wstring longName =
        L"C:\\" + std::wstring(150, L'f') + L"\\" + std::wstring(140, L'n') + L".txt";
    ASSERT_EQ(longName.size(), 298U);
    struct Case {
        const char* name;
        std::vector<std::wstring> dropped;
        std::wstring first;
    };
    const Case cases[] = {
        {"one name", {L"C:\\a\\report.txt"}, L"C:\\a\\report.txt"},
        {"the first of three", {L"C:\\1.txt", L"C:\\2.txt", L"C:\\3.txt"}, L"C:\\1.txt"},
        {"255 characters", {std::wstring(255, L'x')}, std::wstring(255, L'x')},
        {"256 characters", {std::wstring(256, L'x')}, std::wstring(256, L'x')},
        {"longer than a path buffer", {longName}, longName},
        {"Japanese", {L"C:\\資料\\報告書.txt"}, L"C:\\資料\\報告書.txt"},
        {"no name", {}, L""},
    };
    for (const Case& c : cases) {
        const platform::DropHandle drop = DropOf(c.dropped);
        ASSERT_NE(drop, nullptr) << c.name;
        EXPECT_EQ(shortcuts::FirstDroppedName(drop.get()), c.first) << "case: " << c.name;
    }
}

// A scratch folder with a program file, a text file and shortcuts of several kinds.
class ReceivedTarget : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        // One folder per test: ctest runs tests side by side.
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::path(temp) / (std::string("tavimbo-") + test->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        program_ = Write(L"Long Program Name.exe", "MZ");
        text_ = Write(L"A Text File.txt", "text");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::wstring Write(const wchar_t* name, const char* content) const {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.wstring();
    }

    std::wstring ShortcutTo(const wchar_t* name, const std::wstring& target) const {
        const std::wstring path = (folder_ / name).wstring();
        EXPECT_EQ(platform::ShellLink().SaveTarget(target, path), S_OK) << "saving " << name;
        return path;
    }

    static std::wstring ShortPath(const std::wstring& path) {
        wchar_t shortPath[MAX_PATH]{};
        GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
        return shortPath;
    }

    platform::ComInitialization com_;
    std::filesystem::path folder_;
    std::wstring program_;
    std::wstring text_;
};

TEST_F(ReceivedTarget, IsTheLongTargetOfAShortcutInAnyLetterCase) {
    const std::wstring shortProgram = ShortPath(program_);
    ASSERT_NE(shortProgram, program_) << "no short name to lengthen";
    const wchar_t* names[] = {L"upper.LNK", L"mixed.Lnk", L"lower.lnk"};
    for (const wchar_t* name : names) {
        EXPECT_EQ(shortcuts::ReceivedTarget(ShortcutTo(name, shortProgram)), program_)
            << "shortcut " << testing::PrintToString(std::wstring(name));
    }
}

TEST_F(ReceivedTarget, LeavesEveryOtherPathExactlyAsReceived) {
    const std::wstring shortcutNamedText = ShortcutTo(L"report.lnk.txt", program_);
    const std::wstring shortText = ShortPath(text_);
    ASSERT_NE(shortText, text_) << "no short name to keep";
    const std::wstring paths[] = {
        shortcutNamedText,                      // a shortcut by content, not by name
        shortText,                              // a short name stays short
        (folder_ / L"missing.txt").wstring(),   // a path that does not exist
        folder_.wstring(),                      // a folder
        (folder_ / L"report.ｌｎｋ").wstring(), // full-width letters are no shortcut
    };
    for (const std::wstring& path : paths) {
        EXPECT_EQ(shortcuts::ReceivedTarget(path), path) << testing::PrintToString(path);
    }
}

TEST_F(ReceivedTarget, IsTheFileItselfWhenItIsNoShortcut) {
    const std::wstring fake = Write(L"Not A Shortcut.lnk", "plain text");
    EXPECT_EQ(shortcuts::ReceivedTarget(fake), fake);
    EXPECT_EQ(shortcuts::ReceivedTarget(ShortPath(fake)), fake);
}

} // namespace
