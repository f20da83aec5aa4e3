#include "platform/Error.h"
#include "shortcuts/ShortcutToggle.h"
#include "tests/ExpectedTexts.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

constexpr long Ok = 0;
constexpr long False = 1;          // S_FALSE: a success code, yet no shortcut written
constexpr long Fail = -2147467259; // E_FAIL
constexpr long NoAnswer = shortcuts::WriteNoAnswer;

constexpr wchar_t Folder[] = L"C:\\Users\\u\\SendTo\\";
constexpr wchar_t Target[] = L"C:\\Tools\\my.app.exe";
constexpr wchar_t Shortcut[] = L"C:\\Users\\u\\SendTo\\my.app.Lnk";
constexpr wchar_t Exe[] = L"C:\\Tavimbo\\Tavimbo.exe";

const std::wstring Q1 = expected::UpdateQuestion(L"送る", L"my.app.Lnk");
const std::wstring Q2 = expected::OpenFolderQuestion(L"送る");
const std::wstring M1 = expected::Updated(L"送る", Shortcut);
const std::wstring M2 = expected::UpdateFailed(L"送る", Shortcut);
const std::wstring M3 = expected::Deleted(L"送る", Shortcut);
const std::wstring M4 = expected::DeleteFailed(L"送る", Shortcut);
const std::wstring M5 = expected::Created(L"送る", Shortcut);
const std::wstring M6 = expected::CreateFailed(L"送る", Shortcut);
// The target, not the shortcut, is what did not answer.
const std::wstring M7 = expected::NoAnswer(L"送る", Target);

// Records every call of the toggle, shell and dialogs alike, in order.
class Fake final : public shortcuts::ToggleEnvironment {
public:
    bool exists = false;
    long writeResult = Ok;
    bool deleteResult = true;
    bool makeFolderResult = true;
    bool writeThrows = false;
    std::deque<int> answers;
    std::vector<std::wstring> log;

    bool FileExists(const std::wstring& path) override {
        log.push_back(L"exists? " + path);
        return exists;
    }
    long WriteShortcut(const std::wstring& targetPath, const std::wstring& shortcutPath,
                       shortcuts::WriteKind kind) override {
        if (writeThrows) {
            throw platform::Error(L"Class not registered");
        }
        log.push_back((kind == shortcuts::WriteKind::Create ? L"create " : L"update ") +
                      targetPath + L" to " + shortcutPath);
        return writeResult;
    }
    bool DeleteShortcut(const std::wstring& shortcutPath) override {
        log.push_back(L"delete " + shortcutPath);
        return deleteResult;
    }
    bool MakeFolder(const std::wstring& path) override {
        log.push_back(L"make " + path);
        return makeFolderResult;
    }
    int Ask(const std::wstring& question, unsigned flags) override {
        log.push_back(L"ask " + std::to_wstring(flags) + L" " + question);
        if (answers.empty()) {
            ADD_FAILURE() << "an unexpected question";
            return 0;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(const std::wstring& message) override { log.push_back(L"tell " + message); }
    void ShowInExplorer(const std::wstring& path) override { log.push_back(L"explorer " + path); }
};

shortcuts::ToggleRequest Request(std::wstring target = Target) {
    return {Folder, L"送る", std::move(target), Exe, L"Tavimbo"};
}

const std::wstring Exists = L"exists? " + std::wstring(Shortcut);
const std::wstring Create = L"create " + std::wstring(Target) + L" to " + Shortcut;
const std::wstring Update = L"update " + std::wstring(Target) + L" to " + Shortcut;
const std::wstring Delete = L"delete " + std::wstring(Shortcut);
const std::wstring Explorer = L"explorer " + std::wstring(Shortcut);
const std::wstring AskQ1 = L"ask 35 " + Q1;
const std::wstring AskQ2 = L"ask 36 " + Q2;
std::wstring Tell(const std::wstring& message) {
    return L"tell " + message;
}

TEST(RunToggle, FollowsEveryBranch) {
    struct Case {
        const char* name;
        bool exists;
        long writeResult;
        bool deleteResult;
        std::deque<int> answers;
        std::vector<std::wstring> log;
    };
    const Case cases[] = {
        {"create, open the folder",
         false,
         Ok,
         true,
         {6},
         {Exists, Create, Tell(M5), AskQ2, Explorer}},
        {"create, leave the folder", false, Ok, true, {7}, {Exists, Create, Tell(M5), AskQ2}},
        {"create returns S_FALSE", false, False, true, {7}, {Exists, Create, Tell(M6), AskQ2}},
        {"create fails", false, Fail, true, {6}, {Exists, Create, Tell(M6), AskQ2, Explorer}},
        {"create, no answer", false, NoAnswer, true, {7}, {Exists, Create, Tell(M7), AskQ2}},
        {"update", true, Ok, true, {6, 7}, {Exists, AskQ1, Update, Tell(M1), AskQ2}},
        {"update, no answer",
         true,
         NoAnswer,
         true,
         {6, 7},
         {Exists, AskQ1, Update, Tell(M7), AskQ2}},
        {"update returns S_FALSE",
         true,
         False,
         true,
         {6, 6},
         {Exists, AskQ1, Update, Tell(M2), AskQ2, Explorer}},
        {"update fails", true, Fail, true, {6, 7}, {Exists, AskQ1, Update, Tell(M2), AskQ2}},
        {"delete", true, Ok, true, {7, 6}, {Exists, AskQ1, Delete, Tell(M3), AskQ2, Explorer}},
        {"delete fails", true, Ok, false, {7, 7}, {Exists, AskQ1, Delete, Tell(M4), AskQ2}},
        {"cancel", true, Ok, true, {2}, {Exists, AskQ1}},
        {"update question cannot be shown",
         true,
         Ok,
         true,
         {0, 6},
         {Exists, AskQ1, AskQ2, Explorer}},
        {"unknown answer to the update question", true, Ok, true, {1, 7}, {Exists, AskQ1, AskQ2}},
        {"open-folder question cannot be shown",
         false,
         Ok,
         true,
         {0},
         {Exists, Create, Tell(M5), AskQ2}},
        {"open-folder question cancelled",
         true,
         Ok,
         true,
         {7, 2},
         {Exists, AskQ1, Delete, Tell(M3), AskQ2}},
    };
    for (const Case& c : cases) {
        Fake fake;
        fake.exists = c.exists;
        fake.writeResult = c.writeResult;
        fake.deleteResult = c.deleteResult;
        fake.answers = c.answers;
        std::wstring last = L"before";
        shortcuts::RunToggle(Request(), fake, last);
        EXPECT_EQ(fake.log, c.log) << c.name;
        EXPECT_EQ(last, Shortcut) << c.name;
        EXPECT_TRUE(fake.answers.empty()) << c.name << ": answers left over";
    }
}

TEST(RunToggle, MakesAPickedFolderBeforeWritingAndWritesNothingWhenItCannot) {
    const std::wstring make = L"make " + std::wstring(Target);
    struct Case {
        const char* name;
        bool exists;
        bool made;
        std::deque<int> answers;
        std::vector<std::wstring> log;
    };
    const Case cases[] = {
        {"create", false, true, {7}, {Exists, make, Create, Tell(M5), AskQ2}},
        {"create, not made", false, false, {7}, {Exists, make, Tell(M6), AskQ2}},
        {"update, not made", true, false, {6, 7}, {Exists, AskQ1, make, Tell(M2), AskQ2}},
        {"delete", true, false, {7, 7}, {Exists, AskQ1, Delete, Tell(M3), AskQ2}},
    };
    for (const Case& c : cases) {
        Fake fake;
        fake.exists = c.exists;
        fake.makeFolderResult = c.made;
        fake.answers = c.answers;
        auto request = Request();
        request.makeTargetFolder = true;
        std::wstring last;
        shortcuts::RunToggle(request, fake, last);
        EXPECT_EQ(fake.log, c.log) << c.name;
    }
}

TEST(RunToggle, NamesTheProgramsOwnShortcutAfterTheTitle) {
    Fake fake;
    fake.answers = {7};
    std::wstring last;
    shortcuts::RunToggle(Request(Exe), fake, last);
    const std::wstring own = L"C:\\Users\\u\\SendTo\\Tavimbo.Lnk";
    const std::vector<std::wstring> log = {L"exists? " + own,
                                           L"create " + std::wstring(Exe) + L" to " + own,
                                           Tell(expected::Created(L"送る", own)), AskQ2};
    EXPECT_EQ(fake.log, log);
    EXPECT_EQ(last, own);
}

TEST(RunToggle, AddsTheMissingDelimiterToTheFolder) {
    Fake fake;
    fake.answers = {7};
    std::wstring last;
    auto request = Request();
    request.folderPath = L"C:\\Users\\u\\SendTo";
    shortcuts::RunToggle(request, fake, last);
    EXPECT_EQ(last, Shortcut);
}

TEST(RunToggle, RejectsInvalidCharactersBeforeAnythingChanges) {
    Fake fake;
    fake.exists = true;
    std::wstring last = L"before";
    try {
        shortcuts::RunToggle(Request(L"C:\\Tools\\a|b.exe"), fake, last);
        ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
        EXPECT_EQ(error.Message(), L"Invalid characters in path");
    }
    EXPECT_EQ(last, L"before");
    EXPECT_TRUE(fake.log.empty());
}

TEST(RunToggle, RefusesWhatTheShellCannotHoldBeforeAnythingIsAsked) {
    const std::wstring longTarget = L"C:\\" + std::wstring(255, L'x') + L".ex";
    ASSERT_EQ(longTarget.size(), 261U);
    struct Case {
        std::wstring target;
        std::wstring message;
        std::wstring shortcut = L"Nul.Lnk"; // in the folder, kept for the open-folder button
    };
    const Case cases[] = {
        {longTarget, expected::PathTooLong(L"送る", longTarget), std::wstring(255, L'x') + L".Lnk"},
        {L"C:\\Data\\Nul.txt", expected::ReservedName(L"送る", L"C:\\Users\\u\\SendTo\\Nul.Lnk")},
        {L"C:\\Data\\com1.tar.gz",
         expected::ReservedName(L"送る", L"C:\\Users\\u\\SendTo\\com1.tar.Lnk"), L"com1.tar.Lnk"},
        {L"", expected::NoFileTarget(L"送る", L"C:\\Users\\u\\SendTo\\.Lnk"), L".Lnk"},
    };
    for (const Case& c : cases) {
        for (const bool exists : {false, true}) {
            Fake fake;
            fake.exists = exists;
            std::wstring last = L"before";
            shortcuts::RunToggle(Request(c.target), fake, last);
            EXPECT_EQ(fake.log, std::vector<std::wstring>{Tell(c.message)})
                << testing::PrintToString(c.target);
            EXPECT_EQ(last, Folder + c.shortcut);
        }
    }
}

TEST(RunToggle, AFailingShellLinkEndsTheToggleAfterTheShortcutPathIsKnown) {
    for (const bool exists : {false, true}) {
        Fake fake;
        fake.exists = exists;
        fake.writeThrows = true;
        fake.answers = {6};
        std::wstring last = L"before";
        EXPECT_THROW(shortcuts::RunToggle(Request(), fake, last), platform::Error);
        EXPECT_EQ(last, Shortcut) << "exists " << exists;
        const std::vector<std::wstring> log =
            exists ? std::vector<std::wstring>{Exists, AskQ1} : std::vector<std::wstring>{Exists};
        EXPECT_EQ(fake.log, log) << "exists " << exists;
    }
}

} // namespace
