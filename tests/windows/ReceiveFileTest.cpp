#include "shortcuts/ReceivedFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/ShellLink.h"
#include "services/FilePath.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutFile.h"
#include "shortcuts/ShortcutToggle.h"
#include "tests/ExpectedTexts.h"
#include "shortcuts/ShortcutToggle_win.h"
#include "tests/e2e/MalformedShortcuts.h"
#include "tests/e2e/ShortcutChecks.h"
#include "tests/windows/ScratchFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
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
class ReceivedTarget : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        program_ = Write(L"Long Program Name.exe", "MZ");
        text_ = Write(L"A Text File.txt", "text");
    }

    std::wstring ShortcutTo(const wchar_t* name, const std::wstring& target) const {
        const std::wstring path = Path(name);
        e2e::WriteShortcut(path, {target});
        return path;
    }

    std::wstring WriteBytes(const wchar_t* name, const e2e::Bytes& bytes) const {
        return Write(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }

    static std::wstring ShortPath(const std::wstring& path) {
        wchar_t shortPath[MAX_PATH]{};
        GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
        return shortPath;
    }

    platform::ComInitialization com_;
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

// A received shortcut taken through the program's own steps, the real shell link object
// included, into a SendTo folder of the test's own; every update is answered Yes.
class Receiver final : public shortcuts::ToggleEnvironment {
public:
    explicit Receiver(std::filesystem::path sendTo) : sendTo_(std::move(sendTo)) {
        std::filesystem::create_directories(sendTo_);
    }

    // The messages told, or the error raised; target is what the program read. A target
    // registered once before is only read: writing it again would prove nothing new.
    std::vector<std::wstring> Receive(const std::wstring& shortcut) {
        told_.clear();
        target = L"";
        try {
            target = shortcuts::ReceivedTarget(shortcut);
            if (!seen_.insert(target).second) {
                return told_;
            }
            std::wstring last;
            shortcuts::RunToggle(
                {sendTo_.wstring(), L"送る", target, L"C:\\Tavimbo.exe", L"Tavimbo"}, *this, last);
        } catch (const platform::Error& error) {
            told_.push_back(L"error " + error.Message());
        }
        return told_;
    }

    // Every shortcut now in the folder holds the target read, whole (in its full form, as the
    // shell stores it); then the folder is emptied for the next one.
    void ExpectOnlyWholeTargets(const std::string& name) {
        for (const auto& entry : std::filesystem::directory_iterator(sendTo_)) {
            const platform::ShellLink written;
            ASSERT_EQ(written.File().Load(entry.path().c_str(), STGM_READ), S_OK) << name;
            wchar_t full[MAX_PATH]{};
            const DWORD length = GetFullPathNameW(target.c_str(), MAX_PATH, full, nullptr);
            EXPECT_TRUE(written.Path() == target || written.Path() == std::wstring(full, length))
                << name << ": " << testing::PrintToString(written.Path());
            EXPECT_TRUE(services::FitsPathBuffer(target)) << name;
            EXPECT_EQ(told_,
                      std::vector<std::wstring>{expected::Created(L"送る", entry.path().wstring())})
                << name;
            std::filesystem::remove(entry.path());
        }
    }

    std::wstring target;

private:
    bool FileExists(const std::wstring& path) override { return shortcuts::FileExists(path); }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       shortcuts::WriteKind kind) override {
        return shortcuts::WriteShortcutFile(targetPath, shortcutPath, kind);
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        return DeleteFileW(shortcutPath.c_str()) != FALSE;
    }
    bool MakeFolder(const std::wstring& path) override { return shortcuts::MakeFolder(path); }
    int Ask(const std::wstring&, unsigned flags) override {
        return flags == shortcuts::QuestionYesNoCancel ? shortcuts::AnswerYes : shortcuts::AnswerNo;
    }
    void Tell(const std::wstring& message) override { told_.push_back(message); }
    void ShowInExplorer(const std::wstring&) override {}

    std::filesystem::path sendTo_;
    std::vector<std::wstring> told_;
    std::set<std::wstring> seen_;
};

TEST_F(ReceivedTarget, CraftedTargetsAreRegisteredWholeOrRefused) {
    const std::wstring relative = Write(L"relative target.exe", "MZ");
    const std::string leaf = folder_.filename().string();
    const std::string tooLong = "C:\\" + std::string(256, 'x');
    const std::string whole = "C:\\" + std::string(250, 'd') + "\\t.exe",
                      longer = "C:\\d" + whole.substr(3);
    const std::string longName = "C:\\" + std::string(289, 'n') + ".exe";
    const std::wstring sendTo = (folder_ / L"SendTo").wstring() + L"\\";
    const std::wstring relativeCreated =
        expected::Created(L"送る", sendTo + L"relative target.Lnk");
    struct Case {
        const char* name;
        e2e::Bytes shortcut;
        std::vector<std::wstring> told; // not checked when empty
        std::wstring target;            // not checked when empty
    };
    const Case cases[] = {
        {"relative",
         e2e::ShortcutWithLocalPath("relative target.exe"),
         {relativeCreated},
         relative},
        {"relative to the drive",
         e2e::ShortcutWithLocalPath("C:relative target.exe"),
         {relativeCreated},
         relative},
        {"relative through the parent",
         e2e::ShortcutWithLocalPath("..\\" + leaf + "\\relative target.exe"),
         {relativeCreated},
         relative},
        {"259 characters",
         e2e::ShortcutWithLocalPath(whole),
         {expected::Created(L"送る", sendTo + L"t.Lnk")},
         std::wstring(whole.begin(), whole.end())},
        {"260 characters",
         e2e::ShortcutWithLocalPath(longer),
         {expected::PathTooLong(L"送る", std::wstring(longer.begin(), longer.end()))},
         L""},
        {"shortcut path too long",
         e2e::ShortcutWithLocalPath(tooLong),
         {expected::PathTooLong(L"送る", sendTo + std::wstring(256, L'x') + L".Lnk")},
         L""},
        {"file name of 293 characters", e2e::ShortcutWithLocalPath(longName), {}, L""},
        {"device name",
         e2e::ShortcutWithLocalPath("C:\\Data\\con.txt"),
         {expected::ReservedName(L"送る", sendTo + L"con.Lnk")},
         L""},
        {"invalid character",
         e2e::ShortcutWithLocalPath("C:\\Data\\a|b.exe"),
         {L"error Invalid characters in path"},
         L""},
        {"unterminated", e2e::ShortcutWithLocalPath("C:\\Data\\open", false), {}, L""},
    };
    for (const Case& c : cases) {
        Receiver receiver(folder_ / L"SendTo"); // one each: the same target recurs
        const std::vector<std::wstring> told =
            receiver.Receive(WriteBytes(L"crafted.lnk", c.shortcut));
        if (!c.target.empty()) {
            EXPECT_EQ(receiver.target, c.target) << c.name;
        }
        if (!c.told.empty()) {
            EXPECT_EQ(told, c.told) << c.name;
        }
        receiver.ExpectOnlyWholeTargets(c.name);
    }
}

TEST_F(ReceivedTarget, MalformedShortcutsNeverRegisterACutTarget) {
    const std::wstring seedPath = ShortcutTo(L"seed.lnk", program_);
    std::ifstream file(std::filesystem::path(seedPath), std::ios::binary);
    const e2e::Bytes seed{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GT(seed.size(), 76U);
    const std::vector<e2e::MalformedShortcut> shortcuts = e2e::MalformedShortcuts(seed, 300);
    ASSERT_GE(shortcuts.size(), 1000U);
    Receiver receiver(folder_ / L"SendTo");
    int registered = 0;
    for (const e2e::MalformedShortcut& shortcut : shortcuts) {
        const std::vector<std::wstring> told =
            receiver.Receive(WriteBytes(L"received.lnk", shortcut.bytes));
        registered += told.size() == 1 && !expected::CreatedShortcut(L"送る", told[0]).empty();
        receiver.ExpectOnlyWholeTargets(shortcut.name);
    }
    std::cout << shortcuts.size() << " malformed shortcuts of a " << seed.size() << "-byte one, "
              << registered << " distinct targets registered\n";
}

} // namespace
