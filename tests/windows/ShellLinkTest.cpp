// The shell link layer against Wine's real shell link object, checked by an independent reader.

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/ShellLink.h"
#include "services/FilePath.h"
#include "services/RunTag_win.h"
#include "services/ModalGuard_win.h"
#include "shortcuts/ShortcutToggle_win.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/ShortcutChecks.h"
#include "tests/windows/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <thread>

namespace {

class ShellLinkTest : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        target_ = Write(L"annual report 2024.txt", "target");
        link_ = Path(L"annual report 2024.Lnk");
    }

    platform::ComInitialization com_;
    // Wine keeps a shortcut's local path in the ANSI code page only (C.UTF-8 gives 1252), so
    // the names here stay within it.
    std::filesystem::path target_;
    std::filesystem::path link_;
};

std::wstring ReadTarget(const std::filesystem::path& link) {
    const platform::ShellLink reader;
    EXPECT_EQ(reader.File().Load(link.c_str(), STGM_READ), S_OK);
    return reader.Path();
}

TEST_F(ShellLinkTest, WrittenShortcutReadsBackWithTheSameTargetInBothReaders) {
    ASSERT_EQ(shortcuts::SaveAndReadBack(target_.wstring(), link_.wstring()), S_OK);

    EXPECT_EQ(ReadTarget(link_), target_.wstring());

    EXPECT_EQ(e2e::StoredLocalPath(link_), target_.wstring());
}

TEST_F(ShellLinkTest, AnUpdateReplacesTheShortcutACreationNeverDoes) {
    using shortcuts::WriteKind;
    const std::wstring other = Write(L"other.txt", "other");
    const std::wstring longLink =
        Path(std::wstring(265 - folder_.wstring().size(), L'n') + L".Lnk");
    struct Case {
        const char* name;
        std::wstring link;
        WriteKind kind;
        bool replaced;
    };
    const Case cases[] = {
        {"update", link_.wstring(), WriteKind::Update, true},
        {"creation over a file that appeared", link_.wstring(), WriteKind::Create, false},
        {"update at a path over 259 characters", longLink, WriteKind::Update, true}};
    for (const Case& c : cases) {
        ASSERT_EQ(shortcuts::WriteShortcutFile(target_.wstring(), c.link, WriteKind::Update), S_OK);
        EXPECT_EQ(shortcuts::WriteShortcutFile(other, c.link, c.kind) == S_OK, c.replaced)
            << c.name;
        EXPECT_EQ(ReadTarget(L"\\\\?\\" + c.link), c.replaced ? other : target_.wstring())
            << c.name;
        EXPECT_FALSE(GetFileAttributesW(services::ExtendedLengthPath(c.link).c_str()) &
                     FILE_ATTRIBUTE_HIDDEN)
            << c.name;
        EXPECT_EQ(FolderContents().size(), c.link == longLink ? 4U : 3U) << "a temporary left";
    }
}

TEST_F(ShellLinkTest, AWriteTakesUpOnlyTheTemporariesThatEndedRunsOfThisComputerLeft) {
    // Its handle kept, the number of a program that has ended goes to no other.
    const e2e::Program ended(L"C:\\windows\\system32\\hostname.exe");
    ASSERT_TRUE(ended.WaitForExit());
    FILETIME times[4]{};
    ASSERT_TRUE(GetProcessTimes(ended.Handle(), &times[0], &times[1], &times[2], &times[3]));
    const services::RunTag run{services::ThisRun().computer, ended.Id(),
                               std::uint64_t{times[0].dwHighDateTime} << 32 |
                                   times[0].dwLowDateTime};
    const auto temporary = [](const services::RunTag& tag) {
        return L"Tavimbo." + services::RunTagText(tag) + L".0.tmp";
    };
    Write(temporary(run), "left by a killed run");
    std::vector<std::wstring> kept = {L"Tavimbo.tmp", L"tav1A2B.tmp",
                                      temporary(services::ThisRun()),
                                      temporary({L"OTHER-PC", run.processId, run.startTime})};
    for (const std::wstring& name : kept) {
        Write(name, "kept");
    }
    ASSERT_EQ(shortcuts::WriteShortcutFile(target_.wstring(), link_.wstring(),
                                           shortcuts::WriteKind::Create),
              S_OK);
    kept.insert(kept.end(), {target_.filename().wstring(), link_.filename().wstring()});
    std::vector<std::wstring> contents = FolderContents();
    std::ranges::sort(kept);
    std::ranges::sort(contents);
    EXPECT_EQ(contents, kept);
}
TEST_F(ShellLinkTest, ATargetWithSlashesIsSavedInItsFullForm) {
    std::wstring slashed = target_.wstring();
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    ASSERT_EQ(shortcuts::SaveAndReadBack(slashed, link_.wstring()), S_OK);
    EXPECT_EQ(ReadTarget(link_), target_.wstring());
}

TEST_F(ShellLinkTest, SavingATargetTheFileCannotHoldWholeFails) {
    // The shell link object reports success for targets it stores cut or empty.
    for (const size_t length : {260U, 300U}) {
        std::wstring target = folder_.wstring() + L"\\";
        target += std::wstring(length - target.size() - 4, L'x') + L".txt";
        EXPECT_NE(
            shortcuts::WriteShortcutFile(target, link_.wstring(), shortcuts::WriteKind::Create),
            S_OK)
            << length;
    }
    // Neither the shortcut nor a temporary file is left.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST(ShellLink, AWriteIsOnTheDiskWhenItReturns) {
    // A pipe's flush returns only once its reader has read every byte.
    const wchar_t* const name = L"\\\\.\\pipe\\tavimbo-flush";
    const platform::UniqueHandle pipe(
        CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, 0, 1, 65536, 65536, 0, nullptr));
    const platform::UniqueFile reader(
        CreateFileW(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    std::atomic<bool> returned = false;
    std::thread writer([&] {
        const platform::ComInitialization com;
        Microsoft::WRL::ComPtr<IStream> saved;
        EXPECT_EQ(platform::ShellLink().WriteTo(pipe.get(), saved), S_OK);
        returned = true;
    });
    DWORD size = 0;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &size, nullptr) && size; }));
    std::vector<char> bytes(size);
    ReadFile(reader.get(), bytes.data(), size - 1, &size, nullptr);
    EXPECT_FALSE(returned) << "returned before the last byte was read";
    ReadFile(reader.get(), bytes.data(), 1, &size, nullptr);
    writer.join();
}

TEST_F(ShellLinkTest, AtTheSessionsEndAWriteWaitingOnItsTargetLeavesNoFileAndNoWait) {
    // Its step holds the temporary while it waits on a server that never answers.
    static const platform::UniqueHandle holding(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const auto waiting = [](const std::wstring& target, const std::wstring& path) -> long {
        return platform::ShellLink().SaveTarget(target, path, [](auto&, auto&) {
            SetEvent(holding.get());
            Sleep(INFINITE);
            return true;
        });
    };
    const auto endSession = [&] {
        shortcuts::WriteShortcutFile(target_.wstring(), link_.wstring(),
                                     shortcuts::WriteKind::Create, waiting, 100);
        WaitForSingleObject(holding.get(), 10000);
        const ULONGLONG start = GetTickCount64();
        shortcuts::EndShortcutWrites();
        ExitProcess(GetTickCount64() - start < 1000 ? 0 : 1); // as Windows ends the session
    };
    EXPECT_EXIT(endSession(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{target_.filename().wstring()});
}

TEST_F(ShellLinkTest, AWriteWhoseTargetDoesNotAnswerIsGivenUpAndLeavesNothing) {
    // The file-system step of a server that does not answer until it is let go, then saves,
    // and a window of the waiting thread, as the program's main window is. Static: the thread
    // given up outlives the call.
    static struct {
        HWND window = nullptr;
        platform::UniqueHandle answer{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::wstring temporary;
        std::atomic<bool> written = false;
        std::atomic<bool> saved = false;
        bool dispatchedWhileGuarded = false;
    } server;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        server.dispatchedWhileGuarded |= message == WM_APP && services::ModalGuard::AnyOpen();
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.lpszClassName = L"TavimboWaitingWindow";
    RegisterClassW(&windowClass);
    server.window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, nullptr, nullptr);
    const auto slowStep = [](const std::wstring& target, const std::wstring& path) {
        server.temporary = path;
        const long saved = shortcuts::SaveAndReadBack(target, path);
        server.written = true;
        PostMessageW(server.window, WM_APP, 0, 0);
        WaitForSingleObject(server.answer.get(), INFINITE);
        server.saved = true;
        return saved;
    };
    EXPECT_EQ(shortcuts::WriteShortcutFile(target_.wstring(), link_.wstring(),
                                           shortcuts::WriteKind::Create, slowStep, 1000),
              shortcuts::WriteNoAnswer);
    EXPECT_TRUE(server.dispatchedWhileGuarded);
    // Hidden while it exists; gone when the program ends, though its write is still running.
    ASSERT_TRUE(e2e::WaitUntil([] { return server.written.load(); }));
    EXPECT_EQ(GetFileAttributesW(server.temporary.c_str()) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    shortcuts::EndShortcutWrites();
    EXPECT_FALSE(std::filesystem::exists(server.temporary));
    SetEvent(server.answer.get());
    // The late save never becomes the shortcut.
    EXPECT_TRUE(e2e::WaitUntil([] { return server.saved.load(); }));
    EXPECT_FALSE(std::filesystem::exists(link_));
    DestroyWindow(server.window);
}

TEST(ShellLink, TargetsReadBackCompareAsWindowsComparesFileNames) {
    // Given and stored spellings; the second group of letters a conversion into a code page may
    // best-fit, which file systems keep apart.
    const wchar_t* const same[][2] = {
        {L"C:\\ｔｏｏｌｓ\\Мой файл.txt", L"C:\\ＴＯＯＬＳ\\мой ФАЙЛ.TXT"},
        {L"C:\\Ärger\\ÿ ǎ ő ư ά ӂ.txt", L"C:\\äRGER\\Ÿ Ǎ Ő Ư Ά Ӂ.TXT"},
        {L"C:\\Ⅰ Ⅹ Ⓐ.txt", L"C:\\ⅰ ⅹ ⓐ.txt"}};
    const wchar_t* const different[][2] = {{L"C:\\ı µ ſ.txt", L"C:\\I Μ S.txt"},
                                           {L"C:\\ｔｏｏｌ.txt", L"C:\\TOOL.txt"}};
    for (const auto& names : same) {
        EXPECT_TRUE(shortcuts::SameTarget(names[0], names[1])) << e2e::Narrow(names[0]);
    }
    for (const auto& names : different) {
        EXPECT_FALSE(shortcuts::SameTarget(names[0], names[1])) << e2e::Narrow(names[0]);
    }
}

TEST(ShellLink, CreatingItWithoutComRaisesAnErrorWithTheSystemsText) {
    // A thread that never initialised COM cannot create the object.
    std::wstring message;
    bool raised = false;
    std::thread([&] {
        try {
            const platform::ShellLink link;
        } catch (const platform::Error& error) {
            raised = true;
            message = error.Message();
        }
    }).join();
    EXPECT_TRUE(raised);
    EXPECT_FALSE(message.empty());
}

} // namespace
