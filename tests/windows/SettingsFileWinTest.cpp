#include "app/SettingsFile_win.h"

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using app::TextEncoding;
using e2e::Narrow;

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

// A fresh folder for each test, removed with everything in it afterwards.
class SettingsStorage : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"tavimbo-settings-" +
                  std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << Narrow(folder_);
    }

    void TearDown() override {
        for (const std::wstring& name : FolderContents()) {
            const std::wstring path = folder_ + L"\\" + name;
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::vector<std::wstring> FolderContents() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }

    std::wstring folder_;
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
        EXPECT_EQ(app::ReadProfileString(c.path, c.section, c.key), c.value)
            << Narrow(c.path) << " [" << Narrow(c.section) << "] " << Narrow(c.key);
    }
}

TEST_F(SettingsStorage, ProfileReadingTakesLongValuesWholeAndReadsUtf16Files) {
    const std::wstring path = Path(L"Long.ini");
    const std::wstring longValue(1000, L'7');
    WriteBytes(path,
               app::EncodeText(L"[POSITION]\r\nTop=" + longValue + L"\r\n[設定]\r\n名前=送る\r\n",
                               TextEncoding::Utf16LE));
    EXPECT_EQ(app::ReadProfileString(path, L"POSITION", L"top"), longValue);
    EXPECT_EQ(app::ReadProfileString(path, L"設定", L"名前"), L"送る");
}

TEST_F(SettingsStorage, ReadsEachEncodingAndAMissingFileAsEmpty) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<TextEncoding> encoding;
    };
    const std::wstring text = L"[A]\r\nk=送る\r\n";
    const Case cases[] = {
        {"UTF-8", app::EncodeText(text, TextEncoding::Utf8), TextEncoding::Utf8},
        {"UTF-16LE", app::EncodeText(text, TextEncoding::Utf16LE), TextEncoding::Utf16LE},
        {"UTF-16BE", app::EncodeText(text, TextEncoding::Utf16BE), TextEncoding::Utf16BE},
    };
    for (const Case& c : cases) {
        const std::wstring path = Path(L"Encoded.ini");
        WriteBytes(path, c.bytes);
        const app::SettingsText read = app::ReadSettingsFile(path);
        EXPECT_EQ(read.text, text) << c.name;
        EXPECT_EQ(read.encoding, c.encoding) << c.name;
    }

    WriteBytes(Path(L"Ansi.ini"), "[A]\r\nk=v\r\n");
    const app::SettingsText ansi = app::ReadSettingsFile(Path(L"Ansi.ini"));
    EXPECT_EQ(ansi.text, L"[A]\r\nk=v\r\n");
    EXPECT_FALSE(ansi.encoding.has_value());

    const app::SettingsText missing = app::ReadSettingsFile(Path(L"Missing.ini"));
    EXPECT_EQ(missing.text, L"");
    EXPECT_FALSE(missing.encoding.has_value());
}

TEST_F(SettingsStorage, AFileHeldOpenForWritingCannotBeOpened) {
    const std::wstring path = Path(L"Held.ini");
    WriteBytes(path, "[A]\r\nk=v\r\n");
    const platform::UniqueHandle writer = OpenHeld(path, GENERIC_WRITE);
    ASSERT_NE(writer.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { app::ReadSettingsFile(path); }),
              FileError(L"open", path, ERROR_SHARING_VIOLATION));
}

TEST_F(SettingsStorage, AFileOpenForReadingOnlyIsRead) {
    const std::wstring path = Path(L"Shared.ini");
    WriteBytes(path, "[A]\r\nk=v\r\n");
    const platform::UniqueHandle reader = OpenHeld(path, GENERIC_READ);
    ASSERT_NE(reader.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(app::ReadSettingsFile(path).text, L"[A]\r\nk=v\r\n");
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
    for (const Case& c : cases) {
        const std::wstring path = Path(L"Written.ini");
        app::WriteSettingsFile(path, {L"[A]\r\nk=v\r\n\r\n", c.encoding});
        EXPECT_EQ(ReadBytes(path), c.bytes) << c.name;
        EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Written.ini"}) << c.name;
    }
}

TEST_F(SettingsStorage, AFileThatCannotBeReplacedStaysAsItWas) {
    const std::wstring path = Path(L"Viewed.ini");
    WriteBytes(path, "[Other]\r\nx=1\r\n");
    // Another program reads the file and does not let it be deleted or renamed over meanwhile.
    const platform::UniqueHandle reader = OpenHeld(path, GENERIC_READ);
    ASSERT_NE(reader.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] {
                  app::WriteSettingsFile(path, {L"[PROGRAM]\r\n\r\n", std::nullopt});
              }),
              FileError(L"create", path, ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBytes(path), "[Other]\r\nx=1\r\n");
    EXPECT_EQ(FolderContents(), std::vector<std::wstring>{L"Viewed.ini"});
}

TEST_F(SettingsStorage, AFileInAMissingFolderCannotBeCreated) {
    const std::wstring path = Path(L"Missing\\Tavimbo.ini");
    EXPECT_EQ(ErrorOf([&] {
                  app::WriteSettingsFile(path, {L"[PROGRAM]\r\n\r\n", std::nullopt});
              }),
              FileError(L"create", path, ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(FolderContents().empty());
}

TEST(DateTimeText, GivesTheDateAloneOnlyAtExactlyMidnight) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 9;
    const std::wstring midnight = app::DateTimeText(time);
    EXPECT_NE(midnight.find(L"2026"), std::wstring::npos) << Narrow(midnight);
    EXPECT_EQ(midnight.find(L':'), std::wstring::npos) << Narrow(midnight);

    WORD SYSTEMTIME::*const parts[] = {&SYSTEMTIME::wHour, &SYSTEMTIME::wMinute,
                                       &SYSTEMTIME::wSecond, &SYSTEMTIME::wMilliseconds};
    for (const auto part : parts) {
        SYSTEMTIME later = time;
        later.*part = 1;
        const std::wstring text = app::DateTimeText(later);
        EXPECT_TRUE(text.starts_with(midnight + L" ")) << Narrow(text);
        EXPECT_NE(text.find(L':'), std::wstring::npos) << Narrow(text);
    }
    time.wHour = 13;
    time.wMinute = 45;
    time.wSecond = 30;
    const std::wstring afternoon = app::DateTimeText(time);
    EXPECT_NE(afternoon.find(L"45"), std::wstring::npos) << Narrow(afternoon);
    EXPECT_NE(afternoon.find(L"30"), std::wstring::npos) << Narrow(afternoon);
}

} // namespace
