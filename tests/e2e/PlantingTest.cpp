// Planted code, as an attacker would leave it in a downloads folder: canary DLLs under the names
// of system DLLs (tests/planted/Canary.cpp) and fake Explorer and help viewer programs
// (tests/planted/PlantedProgram.cpp), beside the program and in the folder it is started from,
// with Wine made to prefer DLLs found there as Windows does. Each leaves "<its path>.ran" when
// it runs.
//
// Wine 8 ignores the load configuration's DependentLoadFlags (tests/check-exe checks that the
// program has them): canaries beside the program named version, bcrypt, uxtheme, crypt32 and
// msimg32 run inside it at start under Wine, loaded by the system DLLs it imports, where
// Windows 10 and later look in System32 only. So the canaries beside the program are planted
// once it has started (all but msimg32, see below); what is asserted is what the program itself
// decides: no canary in its current folder at start, none beside it or in the current folder
// while every command runs, and no fake program ever. The control, the same system DLLs without
// a load configuration, shows that canaries beside a program do run where they can.

#include "tests/e2e/ShortcutChecks.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

using namespace e2e;
namespace fs = std::filesystem;

constexpr const wchar_t* CanaryNames[] = {L"uxtheme", L"bcrypt",  L"crypt32",   L"version",
                                          L"dwmapi",  L"propsys", L"cryptbase", L"userenv",
                                          L"profapi", L"msimg32"};
constexpr const wchar_t* FakePrograms[] = {L"explorer.exe", L"hh.exe"};

fs::path Built(const wchar_t* file) {
    return BuiltExe().parent_path() / file;
}

void PlantCanaries(const fs::path& folder, std::wstring_view except = {}) {
    for (const wchar_t* name : CanaryNames) {
        if (name == except) {
            continue;
        }
        fs::copy_file(Built(L"Canary.dll"), folder / (std::wstring(name) + L".dll"));
    }
}

// Native first for every canary in the programs under test, as Windows would load them, through
// Wine's overrides for programs of that file name. (A WINEDLLOVERRIDES in the environment block
// given to CreateProcess does not reach Wine's loader in the new process.) Never ucrtbase or
// zlib1, without which no Wine process starts.
class NativeFirst {
public:
    explicit NativeFirst(std::vector<std::wstring> programs) : programs_(std::move(programs)) {
        for (const std::wstring& program : programs_) {
            for (const wchar_t* name : CanaryNames) {
                constexpr wchar_t order[] = L"native,builtin";
                EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Key(program).c_str(), name, REG_SZ,
                                          order, sizeof order),
                          ERROR_SUCCESS);
            }
        }
    }
    ~NativeFirst() {
        for (const std::wstring& program : programs_) {
            RegDeleteTreeW(HKEY_CURRENT_USER, Key(program).c_str());
        }
    }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;

private:
    static std::wstring Key(const std::wstring& program) {
        return L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
    }

    std::vector<std::wstring> programs_;
};

// What ran in these folders, each as " <folder>\<file>"; the marks are cleared for the next run.
std::wstring TakeWhatRan(std::initializer_list<fs::path> folders) {
    std::wstring ran;
    for (const fs::path& folder : folders) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == L".ran") {
                ran += L" " + folder.filename().wstring() + L"\\" + entry.path().stem().wstring();
                fs::remove(entry.path());
            }
        }
    }
    return ran;
}

// What the program asks the shell to open for help files and web addresses reaches the
// recorder (tests/recorder), one line each.
std::ptrdiff_t RecordedCount() {
    std::ifstream log(Built(L"ShellRecorder.log"), std::ios::binary);
    return std::count(std::istreambuf_iterator<char>(log), {}, '\n');
}

// Every button and key of the window that starts something, the buttons pressed on the boxes
// that follow it, and the Explorer it starts, if any.
struct Command {
    const wchar_t* button; // nullptr: the key
    WORD key;
    unsigned modifiers;
    std::vector<int> answers;
    std::wstring explorer;
};

constexpr std::ptrdiff_t ShellOpens = 4; // the help file twice, two web addresses

TEST(Planting, NothingPlantedRunsWhileTheProgramRunsEveryCommand) {
    if (!fs::exists(Built(L"Tavimbo.chm"))) {
        GTEST_SKIP() << "this build has no help file (no help compiler, chmcmd)";
    }
    const std::wstring sendToShortcut = SpecialFolder(CSIDL_SENDTO) + L"Tavimbo.Lnk";
    const Leftovers leftovers({sendToShortcut, SpecialFolder(CSIDL_DESKTOP) + L"Tavimbo.Lnk",
                               SpecialFolder(CSIDL_PROGRAMS) + L"Tavimbo.Lnk",
                               SpecialFolder(CSIDL_STARTUP) + L"Tavimbo.Lnk"});
    const Sandbox sandbox;
    const fs::path beside = sandbox.Folder();
    const fs::path current = beside / L"Current";
    const fs::path controlFolder = beside / L"Control";
    for (const fs::path& folder : {current, controlFolder}) {
        fs::create_directories(folder);
        PlantCanaries(folder);
    }
    for (const fs::path& folder : {beside, current}) {
        for (const wchar_t* name : FakePrograms) {
            fs::copy_file(Built(L"PlantedProgram.exe"), folder / name);
        }
    }
    fs::copy_file(Built(L"PlantedProgram.exe"), controlFolder / L"Control.exe");
    fs::copy_file(Built(L"Tavimbo.chm"), beside / L"Tavimbo.chm");
    const NativeFirst nativeFirst({L"Control.exe", L"Tavimbo.exe"});

    {
        const Program control(controlFolder / L"Control.exe", {}, current);
        ASSERT_TRUE(control.WaitForExit());
    }
    const std::wstring controlRan = TakeWhatRan({controlFolder, current});
    EXPECT_NE(controlRan.find(L".dll"), std::wstring::npos)
        << "no canary ran in the control: the test cannot see anything";
    RecordProperty("control_ran", Narrow(controlRan));

    std::error_code ignored;
    fs::remove(Built(L"ShellRecorder.log"), ignored);
    const ExplorerWindows explorer;
    const Program program(sandbox.Exe(), {}, current);
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "no window; ran:" << Narrow(TakeWhatRan({beside, current}));
    EXPECT_EQ(TakeWhatRan({beside, current}), L"") << "at start";

    // All but msimg32: Wine's common controls delay-load it (AlphaBlend) by a way that ignores
    // SetDefaultDllDirectories, which Windows honours there, so under Wine a copy beside the
    // program runs while the commands run. It stays planted in the current folder.
    PlantCanaries(beside, L"msimg32");
    const std::wstring sendTo = SpecialFolder(CSIDL_SENDTO);
    const Command commands[] = {
        {L"「送る」フォルダを開く", 0, None, {}, ExplorerOn(sendTo)},
        {L"プログラムを「送る」に登録・削除", 0, None, {IDCANCEL}, {}},
        {L"フォルダを「送る」に登録・削除", 0, None, {IDCANCEL}, {}},
        {L"自分を「送る」に登録・削除", 0, None, {IDOK, IDYES}, ExplorerSelecting(sendToShortcut)},
        {L"デスクトップに登録・削除", 0, None, {IDOK, IDNO}, {}},
        {L"スタートメニューに登録・削除", 0, None, {IDOK, IDNO}, {}},
        {L"スタートアップに登録・削除", 0, None, {IDOK, IDNO}, {}},
        {L"ヘルプ表示", 0, None, {}, {}},
        {nullptr, VK_F1, None, {}, {}},
        {L"バージョン情報", 0, None, {IDOK}, {}},
        {nullptr, VK_RETURN, Ctrl, {IDOK}, {}},
        {L"プロパティ表示", 0, None, {}, {}},
        {nullptr, VK_RETURN, Alt, {}, {}},
        {L"開発支援", 0, None, {}, {}},
        {L"ホームページ", 0, None, {}, {}},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.button ? Narrow(command.button)
                                    : "key " + std::to_string(command.key));
        if (command.button != nullptr) {
            Click(FindChild(main, L"Button", command.button));
        } else {
            PressKey(main, command.key, command.modifiers);
        }
        for (const int answer : command.answers) {
            const Box box = WaitForBox(program.Id());
            ASSERT_TRUE(box);
            box.Press(answer);
        }
        if (!command.explorer.empty()) {
            EXPECT_TRUE(explorer.Started(command.explorer));
        }
    }
    EXPECT_TRUE(WaitUntil([] { return RecordedCount() >= ShellOpens; }));
    PressKey(main, VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(TakeWhatRan({beside, current}), L"") << "while the commands ran";
}

} // namespace
