#include "settings/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "services/FilePath.h"
#include "services/RunTag_win.h"
#include "tests/e2e/Driver.h"
#include "tests/windows/ScratchFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using e2e::Narrow;
using settings::TextEncoding;

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << Narrow(path);
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string ReadBytes(const std::wstring& path) {
    const platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

platform::UniqueHandle OpenHeld(const std::wstring& path, DWORD access) {
    return platform::UniqueHandle(CreateFileW(path.c_str(), access,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The message of the error that the action throws.
template <class Action> std::wstring ErrorOf(Action action) {
    try {
        action();
    } catch (const platform::Error& error) {
        return error.Message();
    }
    return L"<no error>";
}

std::wstring FileError(const wchar_t* verb, const std::wstring& path, DWORD code) {
    return L"Cannot "s + verb + L" file \"" + path + L"\". " + platform::SystemErrorText(code);
}

constexpr int SavesPerCopy = 25;

// This test program started again by the test of copies saving at once: before any test runs,
// it saves the file its environment names, counting in a section of its own, and ends with the
// number of saves that failed.
const int savingCopy = [] {
    wchar_t path[MAX_PATH]{}, copy[8]{};
    if (GetEnvironmentVariableW(L"TAVIMBO_SAVING_COPY", copy, 8) == 0 ||
        GetEnvironmentVariableW(L"TAVIMBO_SAVED_FILE", path, MAX_PATH) == 0) {
        return 0;
    }
    UINT failures = 0;
    for (int save = 1; save <= SavesPerCopy; ++save) {
        failures += ErrorOf([&] {
                        settings::UpdateSettingsFile(path, [&](std::wstring& text) {
                            settings::IniFile file = settings::IniFile::Parse(text);
                            file.WriteString(L"Copy"s + copy, L"Saves", std::to_wstring(save));
                            text = file.Text();
                        });
                    }) != L"<no error>";
    }
    ExitProcess(failures);
}();

class SettingsStorage : public ScratchFolder {
protected:
    void Empty() const {
        for (const std::wstring& name : FolderContents()) {
            DeleteFileW(Path(name).c_str());
        }
    }
};

TEST_F(SettingsStorage, ProfileReadingMatchesNamesInAnyCaseAndReadsMissingAsEmpty) {
    const std::wstring path = Path(L"Tavimbo.ini");
    WriteBytes(
        path, "[Position]\r\nTOP=0x10\r\n state = 2 \r\nLeft=\r\n[MODE]\r\nSaveStatus=letters\r\n");
    struct Case {
        std::wstring path;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {path, L"POSITION", L"Top", L"0x10"},
        {path, L"position", L"top", L"0x10"},
        {path, L"POSITION", L"State", L"2"},
        {path, L"POSITION", L"sTaTe", L"2"},
        {path, L"POSITION", L"Left", L""},
        {path, L"POSITION", L"Right", L""},
        {path, L"Mode", L"savestatus", L"letters"},
        {path, L"PROGRAM", L"Top", L""},
        {Path(L"Missing.ini"), L"POSITION", L"Top", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::ReadProfileString(c.path, c.section, c.key), c.value)
            << Narrow(c.path) << " [" << Narrow(c.section) << "] " << Narrow(c.key);
    }
}

TEST_F(SettingsStorage, ProfileReadingTakesLongValuesWholeAndReadsUtf16Files) {
    const std::wstring path = Path(L"Long.ini");
    const std::wstring longValue(1000, L'7');
    WriteBytes(path, settings::EncodeText(L"[POSITION]\r\nTop=" + longValue +
                                              L"\r\n[設定]\r\n名前=送る\r\n",
                                          TextEncoding::Utf16LE));
    EXPECT_EQ(settings::ReadProfileString(path, L"POSITION", L"top"), longValue);
    EXPECT_EQ(settings::ReadProfileString(path, L"設定", L"名前"), L"送る");
}

TEST_F(SettingsStorage, ReadsEachEncodingAndAMissingFileAsEmpty) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<TextEncoding> encoding;
    };
    const std::wstring text = L"[A]\r\nk=送る\r\n";
    const Case cases[] = {
        {"UTF-8", settings::EncodeText(text, TextEncoding::Utf8), TextEncoding::Utf8},
        {"UTF-16LE", settings::EncodeText(text, TextEncoding::Utf16LE), TextEncoding::Utf16LE},
        {"UTF-16BE", settings::EncodeText(text, TextEncoding::Utf16BE), TextEncoding::Utf16BE},
    };
    for (const Case& c : cases) {
        const std::wstring path = Path(L"Encoded.ini");
        WriteBytes(path, c.bytes);
        const settings::SettingsText read = settings::ReadSettingsFile(path);
        EXPECT_EQ(read.text, text) << c.name;
        EXPECT_EQ(read.encoding, c.encoding) << c.name;
    }

    WriteBytes(Path(L"Ansi.ini"), "[A]\r\nk=v\r\n");
    const settings::SettingsText ansi = settings::ReadSettingsFile(Path(L"Ansi.ini"));
    EXPECT_EQ(ansi.text, L"[A]\r\nk=v\r\n");
    EXPECT_FALSE(ansi.encoding.has_value());

    const settings::SettingsText missing = settings::ReadSettingsFile(Path(L"Missing.ini"));
    EXPECT_EQ(missing.text, L"");
    EXPECT_FALSE(missing.encoding.has_value());
}

TEST_F(SettingsStorage, AFileHeldOpenForWritingCannotBeOpened) {
    const std::wstring path = Path(L"Held.ini");
    WriteBytes(path, "[A]\r\nk=v\r\n");
    const platform::UniqueHandle writer = OpenHeld(path, GENERIC_WRITE);
    ASSERT_NE(writer.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { settings::ReadSettingsFile(path); }),
              FileError(L"open", path, ERROR_SHARING_VIOLATION));
}

TEST_F(SettingsStorage, AFileOpenForReadingOnlyIsRead) {
    const std::wstring path = Path(L"Shared.ini");
    WriteBytes(path, "[A]\r\nk=v\r\n");
    const platform::UniqueHandle reader = OpenHeld(path, GENERIC_READ);
    ASSERT_NE(reader.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(settings::ReadSettingsFile(path).text, L"[A]\r\nk=v\r\n");
}

TEST_F(SettingsStorage, AFileThatExistsButCannotBeReadIsToldApartFromAMissingOne) {
    const std::wstring path = Path(L"Probed.ini");
    EXPECT_EQ(settings::SettingsFileReadError(path), static_cast<DWORD>(ERROR_SUCCESS))
        << "missing";
    WriteBytes(path, "[A]\r\nk=v\r\n");
    struct Case {
        const char* name;
        DWORD access;
        DWORD share;
        DWORD error;
    };
    const Case cases[] = {
        {"held open for writing, reading shared", GENERIC_WRITE, FILE_SHARE_READ, ERROR_SUCCESS},
        {"held open exclusively", GENERIC_READ, 0, ERROR_SHARING_VIOLATION},
    };
    for (const Case& c : cases) {
        const platform::UniqueHandle held(CreateFileW(path.c_str(), c.access, c.share, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                      nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(settings::SettingsFileReadError(path), c.error) << c.name;
    }
}

TEST_F(SettingsStorage, WritesEachEncodingAndLeavesNoTemporaryFile) {
    struct Case {
        const char* name;
        std::optional<TextEncoding> encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {"ANSI without a mark", std::nullopt, "[A]\r\nk=v\r\n\r\n"},
        {"UTF-8", TextEncoding::Utf8, "\xEF\xBB\xBF[A]\r\nk=v\r\n\r\n"},
        {"UTF-16LE", TextEncoding::Utf16LE, "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0\r\0\n\0"s},
        {"UTF-16BE", TextEncoding::Utf16BE, "\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0\r\0\n"s},
    };
    // The first case creates the file, the others replace it, as the program does.
    for (const Case& c : cases) {
        const std::wstring path = Path(L"Written.ini");
        settings::SettingsText contents = settings::ReadSettingsFile(path);
        contents.text = L"[A]\r\nk=v\r\n\r\n";
        contents.encoding = c.encoding;
        settings::WriteSettingsFile(path, contents);
        EXPECT_EQ(ReadBytes(path), c.bytes) << c.name;
        EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Written.ini"}) << c.name;
    }
}

// Under the code page of a Japanese Windows, what another program wrote in a file without a mark
// comes back byte for byte: UTF-8, a lone lead byte, every byte from 0x80 on.
TEST_F(SettingsStorage, OtherProgramsBytesSurviveASaveUnderTheJapaneseCodePage) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese code page 932, not " << GetACP();
    }
    std::string other =
        "[Other]\r\nmemo=" + Narrow(L"日本語のメモ ї é") + "\r\nlone=\x82\r\n\x82=\x82\x82\r\n";
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        other += "b" + std::to_string(byte) + '=' + static_cast<char>(byte) + "\r\n";
    }
    other += "\r\n";
    const std::wstring path = Path(L"Tavimbo.ini");
    WriteBytes(path, other);
    settings::SettingsText contents = settings::ReadSettingsFile(path);
    contents.text += L"[PROGRAM]\r\nPath=C:\\ツール\r\n\r\n";
    settings::WriteSettingsFile(path, contents);
    EXPECT_EQ(ReadBytes(path), other + "[PROGRAM]\r\nPath=C:\\\x83\x63\x81\x5B\x83\x8B\r\n\r\n");
}

// Saves that cannot replace the file by renaming: rewritten in place where the file itself can be
// written, else the error and the file as it was.
TEST_F(SettingsStorage, AFileThatCannotBeReplacedIsRewrittenInPlaceOrLeftAsItWas) {
    struct Case {
        const char* name;
        DWORD share; // of another program that holds the file open for reading
        DWORD error;
    };
    const Case cases[] = {
        {"held without delete sharing", FILE_SHARE_READ | FILE_SHARE_WRITE, ERROR_SUCCESS},
        {"held without write sharing", FILE_SHARE_READ, ERROR_SHARING_VIOLATION},
    };
    const std::string old = "[Other]\r\nx=1\r\n";
    for (const Case& c : cases) {
        const std::wstring path = Path(L"Viewed.ini");
        WriteBytes(path, old);
        const platform::UniqueHandle held(CreateFileW(path.c_str(), GENERIC_READ, c.share, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                      nullptr));
        settings::SettingsText contents = settings::ReadSettingsFile(path);
        contents.text = L"[PROGRAM]\r\n\r\n";
        const std::wstring error = ErrorOf([&] { settings::WriteSettingsFile(path, contents); });
        if (c.error == ERROR_SUCCESS) {
            EXPECT_EQ(error, L"<no error>") << c.name;
            EXPECT_EQ(ReadBytes(path), "[PROGRAM]\r\n\r\n") << c.name;
        } else {
            EXPECT_EQ(error, FileError(L"create", path, c.error)) << c.name;
            EXPECT_EQ(ReadBytes(path), old) << c.name;
        }
        EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Viewed.ini"}) << c.name;
    }
}

TEST_F(SettingsStorage, ANewFileIsNeverWrittenOverOneThatAppearedMeanwhile) {
    const std::wstring path = Path(L"Tavimbo.ini");
    WriteBytes(path, "[Other]\r\nx=1\r\n");
    EXPECT_EQ(
        ErrorOf([&] {
            settings::WriteSettingsFile(path, {L"[PROGRAM]\r\n\r\n", std::nullopt, std::nullopt});
        }),
        FileError(L"create", path, ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadBytes(path), "[Other]\r\nx=1\r\n");
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Tavimbo.ini"});
}

TEST_F(SettingsStorage, AFileInAMissingFolderCannotBeCreated) {
    const std::wstring path = Path(L"Missing\\Tavimbo.ini");
    EXPECT_EQ(
        ErrorOf([&] {
            settings::WriteSettingsFile(path, {L"[PROGRAM]\r\n\r\n", std::nullopt, std::nullopt});
        }),
        FileError(L"create", path, ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(FolderContents().empty());
}

// The next read takes up what the save of an ended run left, and nothing else: not a save that
// is running, not another computer's, not a copy the user made.
TEST_F(SettingsStorage, TheNextReadTakesUpWhatTheSaveOfAnEndedRunLeft) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION running{};
    wchar_t command[] = L"cmd.exe";
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               nullptr, &startup, &running));
    const platform::UniqueHandle process(running.hProcess), thread(running.hThread);
    FILETIME started{}, unused[3]{};
    ASSERT_TRUE(GetProcessTimes(process.get(), &started, &unused[0], &unused[1], &unused[2]));
    const services::RunTag alive{services::ThisRun().computer, running.dwProcessId,
                                 std::uint64_t{started.dwHighDateTime} << 32 |
                                     started.dwLowDateTime};
    services::RunTag reused = alive, gone = alive, elsewhere = alive;
    reused.startTime -= 1; // the number now belongs to another process
    gone.processId = 4000000000;
    elsewhere.computer = L"OTHER";
    const std::wstring path = Path(L"Tavimbo.ini");
    auto name = [&](const services::RunTag& run, settings::SaveFileKind kind) {
        return services::ExtractFileName(settings::SaveFilePath(path, {run, kind, 0, {}, {}}));
    };
    // A replace that moved the file aside and never brought the new one in: the old file is put
    // back and the new one goes, as does a temporary of a run that is gone.
    WriteBytes(Path(name(reused, settings::SaveFileKind::Backup)), "old");
    WriteBytes(Path(name(reused, settings::SaveFileKind::Temporary)), "new");
    WriteBytes(Path(name(gone, settings::SaveFileKind::Temporary)), "ne");
    std::vector<std::wstring> kept = {L"Tavimbo.ini",
                                      name(alive, settings::SaveFileKind::Temporary),
                                      name(elsewhere, settings::SaveFileKind::Backup),
                                      L"Tavimbo.ini.bak",
                                      L"Tavimbo.ini.20240101.bak",
                                      L"Tavimbo.ini.2.old"};
    for (std::size_t index = 1; index < kept.size(); ++index) {
        WriteBytes(Path(kept[index]), "mine");
    }
    EXPECT_EQ(settings::ReadSettingsFile(path).bytes, "old");
    std::vector<std::wstring> left = FolderContents();
    std::ranges::sort(left);
    std::ranges::sort(kept);
    EXPECT_EQ(left, kept);
    TerminateProcess(process.get(), 0);
}

// A hard link keeps sharing its bytes with its other name: it is rewritten where they are.
// (Wine's CreateSymbolicLinkW makes nothing, so a symbolic link cannot be shown here.)
TEST_F(SettingsStorage, AHardLinkedFileIsRewrittenWhereItsBytesAre) {
    const std::wstring path = Path(L"Tavimbo.ini"), other = Path(L"Other.ini");
    WriteBytes(other, "[Other]\r\nx=1\r\n");
    ASSERT_TRUE(CreateHardLinkW(path.c_str(), other.c_str(), nullptr)) << GetLastError();
    settings::SettingsText contents = settings::ReadSettingsFile(path);
    contents.text += L"[PROGRAM]\r\n\r\n";
    settings::WriteSettingsFile(path, contents);
    EXPECT_EQ(ReadBytes(other), "[Other]\r\nx=1\r\n[PROGRAM]\r\n\r\n");
    std::vector<std::wstring> left = FolderContents();
    std::ranges::sort(left);
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Other.ini", L"Tavimbo.ini"}));
}

// Copies of the program closing together, as at a sign-out: each save succeeds in turn and is
// whole, none loses another's.
TEST_F(SettingsStorage, CopiesSavingAtOnceEachSaveWholeInTurn) {
    constexpr int Copies = 4;
    const std::wstring path = Path(L"Tavimbo.ini");
    WriteBytes(path, "[Other]\r\nx=1\r\n");
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    SetEnvironmentVariableW(L"TAVIMBO_SAVED_FILE", path.c_str());
    std::vector<platform::UniqueHandle> processes, threads;
    for (int copy = 1; copy <= Copies; ++copy) {
        SetEnvironmentVariableW(L"TAVIMBO_SAVING_COPY", std::to_wstring(copy).c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::wstring command = L"\""s + exe + L"\"";
        ASSERT_TRUE(CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                   nullptr, nullptr, &startup, &started));
        processes.emplace_back(started.hProcess);
        threads.emplace_back(started.hThread);
    }
    SetEnvironmentVariableW(L"TAVIMBO_SAVING_COPY", nullptr);
    SetEnvironmentVariableW(L"TAVIMBO_SAVED_FILE", nullptr);
    for (const platform::UniqueHandle& thread : threads) {
        ResumeThread(thread.get());
    }
    for (int copy = 1; copy <= Copies; ++copy) {
        HANDLE process = processes[copy - 1].get();
        DWORD failures = STILL_ACTIVE;
        ASSERT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0) << "copy " << copy;
        GetExitCodeProcess(process, &failures);
        EXPECT_EQ(failures, 0u) << "saves that failed in copy " << copy;
        EXPECT_EQ(
            settings::ReadProfileString(path, (L"Copy" + std::to_wstring(copy)).c_str(), L"Saves"),
            std::to_wstring(SavesPerCopy))
            << "copy " << copy;
    }
    EXPECT_EQ(settings::ReadProfileString(path, L"Other", L"x"), L"1");
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Tavimbo.ini"});
}

TEST(DateTimeText, GivesTheDateAloneOnlyAtExactlyMidnight) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 9;
    const std::wstring midnight = settings::DateTimeText(time);
    EXPECT_NE(midnight.find(L"2026"), std::wstring::npos) << Narrow(midnight);
    EXPECT_EQ(midnight.find(L':'), std::wstring::npos) << Narrow(midnight);

    WORD SYSTEMTIME::*const parts[] = {&SYSTEMTIME::wHour, &SYSTEMTIME::wMinute,
                                       &SYSTEMTIME::wSecond, &SYSTEMTIME::wMilliseconds};
    for (const auto part : parts) {
        SYSTEMTIME later = time;
        later.*part = 1;
        const std::wstring text = settings::DateTimeText(later);
        EXPECT_TRUE(text.starts_with(midnight + L" ")) << Narrow(text);
        EXPECT_NE(text.find(L':'), std::wstring::npos) << Narrow(text);
    }
    time.wHour = 13;
    time.wMinute = 45;
    time.wSecond = 30;
    const std::wstring afternoon = settings::DateTimeText(time);
    EXPECT_NE(afternoon.find(L"45"), std::wstring::npos) << Narrow(afternoon);
    EXPECT_NE(afternoon.find(L"30"), std::wstring::npos) << Narrow(afternoon);
}

} // namespace
