// The settings file as a user meets it: the window and options coming back after a restart,
// a hand-edited file read forgivingly, and a file that other programs share left undamaged.

#include "services/ErrorText.h"
#include "settings/TextEncoding.h"
#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>

namespace {

using namespace e2e;
using namespace std::string_literals;

constexpr wchar_t CloseQueryCaption[] = L"確認する";
constexpr wchar_t SaveStatusCaption[] = L"状態を保存する";

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// An entry as Windows itself reads it from the file.
std::wstring Entry(const std::filesystem::path& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = L"";
    GetPrivateProfileStringW(section, key, L"<none>", value, 512, ini.c_str());
    return value;
}

bool Checked(HWND main, const wchar_t* caption) {
    return SendMessageW(FindChild(main, L"Button", caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT Bounds(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

std::string Show(const RECT& rect) {
    std::ostringstream text;
    text << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << "}";
    return text.str();
}

bool SameRect(const RECT& left, const RECT& right) {
    return left.left == right.left && left.top == right.top && left.right == right.right &&
           left.bottom == right.bottom;
}

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The window's size at design, 280 by 280, at the screen's resolution.
int DesignSize() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(280, dpi, 96);
}

// The rectangle that a file without "POSITION" gives: a square of a third of the work area's
// height, a third of it down, but not below the window's minimum size.
RECT DefaultRect(int top) {
    const RECT area = WorkArea();
    const int size = DesignSize();
    const int left = (area.right - area.left - size) / 2;
    const int side = std::max(top, size);
    return {left, top, left + side, top + side};
}

int DefaultTop() {
    return (WorkArea().bottom - WorkArea().top) / 3;
}

// Restores a minimised or maximised window; whether it then lies on that rectangle. Only the
// rectangle tells: without a window manager, Wine may flag the window maximised again after
// the restore, without moving it.
bool RestoresTo(HWND main, const RECT& expected) {
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    return WaitUntil([&] { return SameRect(Bounds(main), expected); });
}

void CloseAndWait(const Program& program, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

// The system's text for an error, as the error report shows it after the program's own words.
std::wstring SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = buffer != nullptr ? buffer : L"";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

TEST(Settings, WithoutAFileTheWindowIsTheDefaultSquareAndTheFirstCloseWritesProgramAlone) {
    Sandbox sandbox;
    Program program(sandbox.Exe());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsZoomed(main));
    EXPECT_FALSE(IsIconic(main));
    const RECT expected = DefaultRect(DefaultTop());
    EXPECT_TRUE(SameRect(Bounds(main), expected))
        << Show(Bounds(main)) << " instead of " << Show(expected);
    EXPECT_FALSE(Checked(main, CloseQueryCaption));
    EXPECT_FALSE(Checked(main, SaveStatusCaption));
    EXPECT_FALSE(std::filesystem::exists(sandbox.Ini()));

    CloseAndWait(program, main);
    const std::string bytes = ReadFileBytes(sandbox.Ini());
    EXPECT_FALSE(settings::DetectByteOrderMark(bytes).has_value());
    const std::wstring folder = sandbox.Folder().wstring();
    const std::string start = "[PROGRAM]\r\nName=Tavimbo.exe\r\nPath=" + Narrow(folder) +
                              "\r\nVersion=V1.1\r\nLastClose=";
    EXPECT_TRUE(bytes.starts_with(start)) << bytes;
    EXPECT_TRUE(bytes.ends_with("\r\n\r\n")) << bytes;
    EXPECT_EQ(bytes.find("POSITION"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("MODE"), std::string::npos) << bytes;
    // LastClose holds the date and the time of the close, in the user's formats.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_NE(Entry(sandbox.Ini(), L"PROGRAM", L"LastClose").find(std::to_wstring(now.wYear)),
              std::wstring::npos);
}

TEST(Settings, AHandWrittenMaximisedStateInAnyCaseStartsMaximisedAndRestoresToTheStoredRectangle) {
    for (const char* key : {"state", "STATE", "sTaTe"}) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(), "[position]\r\nLeft=100\r\nTop=120\r\nRight=520\r\n"
                                      "Bottom=470\r\n"s +
                                          key + "=2\r\n");
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << key;
        EXPECT_TRUE(IsZoomed(main)) << key;
        EXPECT_TRUE(RestoresTo(main, {100, 120, 520, 470})) << key << ": " << Show(Bounds(main));
    }
}

TEST(Settings, OnlyTheLowEightBitsOfTheStateCountAndShowCmdIsNotRead) {
    struct Case {
        const char* entries;
        bool maximised;
    };
    const Case cases[] = {
        {"State=258\r\n", true},             // 256 + 2
        {"State=7\r\n", false},              // no state: normal
        {"ShowCmd=3\r\nState=0\r\n", false}, // 3 would be SW_SHOWMAXIMIZED
    };
    for (const Case& c : cases) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(), "[POSITION]\r\n"s + c.entries);
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << c.entries;
        EXPECT_EQ(IsZoomed(main) != FALSE, c.maximised) << c.entries;
        EXPECT_FALSE(IsIconic(main)) << c.entries;
    }
}

TEST(Settings, HandWrittenTopValuesLoadAsNumbersOrTheDefault) {
    struct Case {
        const char* value;
        int top;
    };
    const Case cases[] = {
        {"0x10", 16},
        {"   40", 40},
        {"$1F", 31},
        {"12abc", DefaultTop()},
        {"letters", DefaultTop()},
        {"", DefaultTop()},
    };
    for (const Case& c : cases) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(), "[POSITION]\r\nTop="s + c.value + "\r\n");
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << c.value;
        const RECT expected = DefaultRect(c.top);
        EXPECT_TRUE(SameRect(Bounds(main), expected))
            << "Top=" << c.value << ": " << Show(Bounds(main)) << " instead of " << Show(expected);
    }
}

TEST(Settings, CheckBoxesAreTickedByAnyNonZeroNumberAndLeftUntickedByLetters) {
    struct Case {
        const char* closeQuery;
        const char* saveStatus;
        bool closeQueryTicked;
        bool saveStatusTicked;
    };
    const Case cases[] = {
        {"1", "2", true, true},
        {"letters", "abc", false, false},
        {"0", "-1", false, true},
        {"0x1", "0", true, false},
    };
    for (const Case& c : cases) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(), "[MODE]\r\ncloseQuery="s + c.closeQuery +
                                          "\r\nSAVESTATUS=" + c.saveStatus + "\r\n");
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(Checked(main, CloseQueryCaption), c.closeQueryTicked)
            << "CloseQuery=" << c.closeQuery;
        EXPECT_EQ(Checked(main, SaveStatusCaption), c.saveStatusTicked)
            << "SaveStatus=" << c.saveStatus;
    }
}

TEST(Settings, TheWindowComesBackNormalMinimisedOrMaximisedAsItWasClosed) {
    struct Case {
        const char* name;
        WPARAM command; // 0: left as it is
        int state;
    };
    const Case cases[] = {
        {"normal", 0, 0},
        {"minimised", SC_MINIMIZE, 1},
        {"maximised", SC_MAXIMIZE, 2},
    };
    const RECT stored{150, 110, 590, 460};
    for (const Case& c : cases) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(),
                       "[POSITION]\r\nLeft=150\r\nTop=110\r\nRight=590\r\nBottom=460\r\n"
                       "[MODE]\r\nSaveStatus=1\r\n");
        {
            Program program(sandbox.Exe());
            const HWND main = program.MainWindow();
            ASSERT_NE(main, nullptr) << c.name;
            if (c.command != 0) {
                PostMessageW(main, WM_SYSCOMMAND, c.command, 0);
                ASSERT_TRUE(WaitUntil([&] {
                    return c.state == 1 ? IsIconic(main) : IsZoomed(main);
                })) << c.name;
            }
            CloseAndWait(program, main);
        }
        const std::filesystem::path ini = sandbox.Ini();
        EXPECT_EQ(Entry(ini, L"POSITION", L"State"), std::to_wstring(c.state)) << c.name;
        // The normal rectangle is saved whatever the state.
        EXPECT_EQ(Entry(ini, L"POSITION", L"Left"), L"150") << c.name;
        EXPECT_EQ(Entry(ini, L"POSITION", L"Top"), L"110") << c.name;
        EXPECT_EQ(Entry(ini, L"POSITION", L"Right"), L"590") << c.name;
        EXPECT_EQ(Entry(ini, L"POSITION", L"Bottom"), L"460") << c.name;
        EXPECT_EQ(Entry(ini, L"MODE", L"CloseQuery"), L"0") << c.name;
        EXPECT_EQ(Entry(ini, L"MODE", L"SaveStatus"), L"1") << c.name;

        Program again(sandbox.Exe());
        const HWND main = again.MainWindow();
        ASSERT_NE(main, nullptr) << c.name;
        EXPECT_EQ(IsIconic(main) != FALSE, c.state == 1) << c.name;
        EXPECT_EQ(IsZoomed(main) != FALSE, c.state == 2) << c.name;
        EXPECT_TRUE(Checked(main, SaveStatusCaption)) << c.name;
        EXPECT_TRUE(RestoresTo(main, stored)) << c.name << ": " << Show(Bounds(main));
    }
}

// After MODE, another tool's section "[条件≒]" whose "≒" is the NEC duplicate 0x8790, which code
// page 932 writes back as 0x81E0, and a line of the IBM kanji 0xED40, written back as 0xFA5C.
TEST(Settings, UntickingSaveStatusDropsPositionAndModeSoTheNextStartHasTheDefaults) {
    Sandbox sandbox;
    const std::string other = "[\x8F\xF0\x8C\x8F\x87\x90]\r\nk=\xED\x40\xED\x40\r\n";
    WriteFileBytes(sandbox.Ini(), "[POSITION]\r\nLeft=150\r\nTop=110\r\nRight=590\r\nBottom=460\r\n"
                                  "State=0\r\n[MODE]\r\nCloseQuery=0\r\nSaveStatus=1\r\n" +
                                      other);
    {
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(Checked(main, SaveStatusCaption));
        Click(FindChild(main, L"Button", SaveStatusCaption));
        ASSERT_TRUE(WaitUntil([&] { return !Checked(main, SaveStatusCaption); }));
        CloseAndWait(program, main);
    }
    const std::string bytes = ReadFileBytes(sandbox.Ini());
    EXPECT_TRUE(bytes.starts_with(other + "\r\n[PROGRAM]\r\n")) << bytes;
    EXPECT_EQ(bytes.find("POSITION"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("MODE"), std::string::npos) << bytes;

    Program again(sandbox.Exe());
    const HWND main = again.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(SameRect(Bounds(main), DefaultRect(DefaultTop()))) << Show(Bounds(main));
    EXPECT_FALSE(Checked(main, SaveStatusCaption));
}

// To Windows' reader, the NUL bytes make "[MODE]" and its entry lines of "other tool".
TEST(Settings, AnotherWritersSectionSurvivesBeforeProgramWhileCommentsDoNot) {
    Sandbox sandbox;
    WriteFileBytes(sandbox.Ini(), "; written by hand\r\nstray line\r\n[PROGRAM]\r\nName=Old.exe\r\n"
                                  "Extra=1\r\n[Other Tool]\r\n; its comment\r\nkey = value \r\n"
                                  "plain line\r\n\r\n[other tool]\r\nmore=1\r\nbell= \a \r\n"
                                  "\0\0[MODE]\r\nSaveStatus=1\r\n"s);
    Program program(sandbox.Exe());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(Checked(main, SaveStatusCaption));
    CloseAndWait(program, main);
    const std::string bytes = ReadFileBytes(sandbox.Ini());
    const std::string expectedStart = "[Other Tool]\r\nkey=value\r\nplain line\r\nmore=1\r\n"
                                      "bell=\a\r\n\r\n\0\0[MODE]\r\nSaveStatus=1\r\n\r\n"
                                      "[PROGRAM]\r\nName=Tavimbo.exe\r\nPath="s +
                                      Narrow(sandbox.Folder().wstring()) +
                                      "\r\nVersion=V1.1\r\nLastClose=";
    EXPECT_TRUE(bytes.starts_with(expectedStart)) << bytes;
    EXPECT_EQ(bytes.find(';'), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("stray"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("Extra"), std::string::npos) << bytes;
}

// What Notepad saves by default: UTF-8 without a mark, the last line typed without a final
// Enter. Under code page 932 its last character is a lead byte without a trail byte.
TEST(Settings, AUtf8LastLineWithoutALineBreakClosesAtOnceAndIsKept) {
    Sandbox sandbox;
    const std::string text = "[\xE3\x83\xA1\xE3\x83\xA2]\r\n\xE4\xBB\xB6=\xE3\x81\x82";
    WriteFileBytes(sandbox.Ini(), text);
    Program program(sandbox.Exe());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    CloseAndWait(program, main);
    const std::string bytes = ReadFileBytes(sandbox.Ini());
    EXPECT_TRUE(bytes.starts_with(text + "\r\n\r\n[PROGRAM]\r\n")) << bytes;
}

TEST(Settings, AUtf16FileStaysUtf16WithItsMark) {
    Sandbox sandbox;
    const std::wstring text =
        L"[他のツール]\r\n名前=送る\r\n[POSITION]\r\nTop=0x30\r\n[MODE]\r\nSaveStatus=1\r\n";
    WriteFileBytes(sandbox.Ini(), settings::EncodeText(text, settings::TextEncoding::Utf16LE));
    {
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(Bounds(main).top, 0x30);
        CloseAndWait(program, main);
    }
    const std::string bytes = ReadFileBytes(sandbox.Ini());
    ASSERT_EQ(settings::DetectByteOrderMark(bytes), settings::TextEncoding::Utf16LE);
    const std::wstring written =
        settings::DecodeText(std::string_view(bytes).substr(2), settings::TextEncoding::Utf16LE);
    EXPECT_TRUE(written.starts_with(L"[他のツール]\r\n名前=送る\r\n\r\n[PROGRAM]\r\n"))
        << Narrow(written);
    EXPECT_EQ(Entry(sandbox.Ini(), L"他のツール", L"名前"), L"送る");
    EXPECT_EQ(Entry(sandbox.Ini(), L"POSITION", L"Top"), L"48");
}

// Another program holds the settings file open while Tavimbo closes, or held it while Tavimbo
// started: the error is shown once, the close goes ahead and the file stays as it was. Held
// without delete sharing only, the file is rewritten where it is.
struct HeldFileCase {
    const char* name;
    DWORD access;
    DWORD share;
    bool atStart;        // held while the program starts and let go before it closes
    const wchar_t* verb; // of the error; none when the save succeeds
    DWORD error;
};

const HeldFileCase HeldFileCases[] = {
    {"held open for writing", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false, L"open",
     ERROR_SHARING_VIOLATION},
    {"held open exclusively at the start", GENERIC_READ, 0, true, L"open", ERROR_SHARING_VIOLATION},
    {"held open for reading without write sharing", GENERIC_READ, FILE_SHARE_READ, false, L"create",
     ERROR_SHARING_VIOLATION},
    {"held open for reading without delete sharing", GENERIC_READ,
     FILE_SHARE_READ | FILE_SHARE_WRITE, false, nullptr, ERROR_SUCCESS},
};

const std::string HeldFileText = "[Other]\r\nkey=value\r\n[MODE]\r\nSaveStatus=1\r\n";

std::wstring ExpectedError(const HeldFileCase& c, const std::filesystem::path& ini) {
    return services::ErrorReportText(L"Cannot "s + c.verb + L" file \"" + ini.wstring() + L"\". " +
                                     SystemText(c.error));
}

HANDLE Hold(const HeldFileCase& c, const std::filesystem::path& ini) {
    return CreateFileW(ini.c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Settings, AFileHeldByAnotherProgramGivesTheErrorOnceAndStaysUntouched) {
    for (const HeldFileCase& c : HeldFileCases) {
        Sandbox sandbox;
        WriteFileBytes(sandbox.Ini(), HeldFileText);
        HANDLE held = c.atStart ? Hold(c, sandbox.Ini()) : INVALID_HANDLE_VALUE;
        Program program(sandbox.Exe());
        const HWND main = program.MainWindow();
        ASSERT_NE(main, nullptr) << c.name;
        if (c.atStart) {
            // Readable again by the close: what the user saved must still not be overwritten.
            CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
        } else {
            held = Hold(c, sandbox.Ini());
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.name;
        }

        PostMessageW(main, WM_CLOSE, 0, 0);
        if (c.verb != nullptr) {
            const Box error = WaitForBox(program.Id());
            ASSERT_TRUE(error) << c.name;
            EXPECT_EQ(error.caption, L"Tavimbo") << c.name;
            EXPECT_EQ(error.text, ExpectedError(c, sandbox.Ini())) << c.name;
            error.Press(IDOK);
        }
        EXPECT_EQ(program.WaitForExit(), 0u) << c.name << ": one box only";
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }

        const std::string bytes = ReadFileBytes(sandbox.Ini());
        if (c.verb != nullptr) {
            EXPECT_EQ(bytes, HeldFileText) << c.name;
        } else {
            EXPECT_TRUE(bytes.starts_with("[Other]\r\nkey=value\r\n\r\n[PROGRAM]\r\n")) << bytes;
            EXPECT_EQ(Entry(sandbox.Ini(), L"MODE", L"SaveStatus"), L"1") << c.name;
        }
        const auto entries = std::distance(std::filesystem::directory_iterator(sandbox.Folder()),
                                           std::filesystem::directory_iterator());
        EXPECT_EQ(entries, 2) << c.name << ": only Tavimbo.exe and Tavimbo.ini";
    }
}

TEST(Settings, AFailedSaveAtTheEndOfTheSessionIsShownAndTheSessionMayStillEnd) {
    const HeldFileCase& c = HeldFileCases[0];
    Sandbox sandbox;
    WriteFileBytes(sandbox.Ini(), HeldFileText);
    Program program(sandbox.Exe());
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    const HANDLE held = Hold(c, sandbox.Ini());
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    auto reply = std::async(std::launch::async, [&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 30000, &result);
        return result;
    });
    const Box error = WaitForBox(program.Id());
    ASSERT_TRUE(error);
    EXPECT_EQ(error.text, ExpectedError(c, sandbox.Ini()));
    error.Press(IDOK);
    EXPECT_EQ(reply.get(), 1u);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(sandbox.Ini()), HeldFileText);
    EXPECT_TRUE(program.Running());
}

} // namespace
