// Files sent to the program on its command line and dropped on its window, as a user sends
// them from Explorer's "送る" menu or drags them from a file manager.

#include "tests/ExpectedTexts.h"
#include "tests/e2e/MalformedShortcuts.h"
#include "tests/e2e/ShortcutChecks.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>

namespace {

using namespace e2e;

const std::wstring MultipleFilesWarning =
    L"複数のファイルは受け取れません。先頭のファイルを処理します。";
const std::wstring OpenQuestion = expected::OpenFolderQuestion(L"送る");

std::wstring SendToFolder() {
    return SpecialFolder(CSIDL_SENDTO);
}

std::wstring SendToShortcut(const std::wstring& baseName) {
    return SendToFolder() + baseName + L".Lnk";
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

bool MainWindowShown(const Program& program) {
    for (HWND window : TopWindows(program.Id())) {
        if (ClassName(window) == L"TForm1") {
            return true;
        }
    }
    return false;
}

// A sandbox with the files a test sends to the program.
class Received : public testing::Test {
protected:
    std::wstring Path(const std::wstring& name) const {
        return (sandbox_.Folder() / name).wstring();
    }

    std::wstring File(const std::wstring& name) const {
        const std::wstring path = Path(name);
        std::ofstream(std::filesystem::path(path), std::ios::binary) << "received";
        return path;
    }

    std::wstring File(const std::wstring& name, const Bytes& bytes) const {
        const std::wstring path = Path(name);
        std::ofstream(std::filesystem::path(path), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::wstring Folder(const std::wstring& name) const {
        const std::wstring path = Path(name);
        std::filesystem::create_directories(path);
        return path;
    }

    // A shortcut file written by the test's own shell link object.
    std::wstring Shortcut(const std::wstring& name, const std::wstring& target) const {
        const std::wstring path = Path(name);
        WriteShortcut(path, {target});
        return path;
    }

    Sandbox sandbox_;
};

// The program started with a command line: every box it shows must come before its window.
class CommandLine : public Received {
protected:
    void Start(const std::wstring& arguments) {
        program_ = std::make_unique<Program>(sandbox_.Exe(), arguments);
    }

    void AnswerBeforeWindow(const std::wstring& text, int button) {
        ASSERT_TRUE(WaitForBox(program_->Id())) << "no box; expected:\n" << Narrow(text);
        EXPECT_FALSE(MainWindowShown(*program_)) << "main window shown before:\n" << Narrow(text);
        Answer(*program_, text, button);
    }

    // Creating the shortcut, then declining to open the folder; the window opens afterwards.
    void ExpectCreatedBeforeWindow(const std::wstring& shortcut) {
        AnswerBeforeWindow(expected::Created(L"送る", shortcut), IDOK);
        AnswerBeforeWindow(OpenQuestion, IDNO);
        ExpectWindowOpens();
    }

    void ExpectWindowOpens() {
        main_ = program_->MainWindow();
        ASSERT_NE(main_, nullptr) << "the main window did not open";
        ExpectNoBox(*program_, 500ms);
        EXPECT_TRUE(program_->Running());
    }

    ExplorerWindows explorer_;
    std::unique_ptr<Program> program_;
    HWND main_ = nullptr;
};

TEST_F(CommandLine, EachKindOfPathIsRegisteredBeforeTheWindowOpens) {
    // Targets are ASCII: Wine keeps a shortcut's local path in the ANSI code page.
    Folder(L"two words");
    const std::wstring program = File(L"Helper Tool.exe");
    const std::wstring notAShortcut = File(L"Not A Shortcut.lnk");
    const std::wstring shortcutAsText = Shortcut(L"report.lnk.txt", program);
    struct Case {
        const char* name;
        std::wstring sent;
        std::wstring baseName;
        std::wstring target;
    };
    const Case cases[] = {
        {"one file", File(L"report.txt"), L"report", Path(L"report.txt")},
        {"quoted path with blanks", File(L"two words\\my report 2024.txt"), L"my report 2024",
         Path(L"two words\\my report 2024.txt")},
        {"shortcut in capitals", Shortcut(L"report.LNK", program), L"Helper Tool", program},
        {"shortcut to a file beside it",
         File(L"two words\\relative.lnk", ShortcutWithLocalPath("..\\Helper Tool.exe")),
         L"Helper Tool", program},
        {"shortcut named as text", shortcutAsText, L"report.lnk", shortcutAsText},
        {"shortcut file that is no shortcut", notAShortcut, L"Not A Shortcut", notAShortcut},
        {"folder", Folder(L"Received Data.2024"), L"Received Data", Path(L"Received Data.2024")},
        {"path that does not exist", Path(L"missing.txt"), L"missing", Path(L"missing.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Leftovers leftovers({SendToShortcut(c.baseName)});
        Start(Quoted(c.sent));
        ExpectCreatedBeforeWindow(SendToShortcut(c.baseName));
        ExpectShortcutTo(SendToShortcut(c.baseName), c.target);
    }

    // The toggle's shortcut is not what the open-folder button shows right after the start.
    Click(FindChild(main_, L"Button", L"「送る」フォルダを開く"));
    EXPECT_TRUE(explorer_.Started(ExplorerOn(SendToFolder())));
}

TEST_F(CommandLine, OfThreeFilesOnlyTheFirstIsRegisteredAfterAWarning) {
    const Leftovers leftovers(
        {SendToShortcut(L"first"), SendToShortcut(L"second"), SendToShortcut(L"third")});
    const std::wstring first = File(L"first.txt");
    Start(Quoted(first) + L" " + Quoted(File(L"second.txt")) + L" " + Quoted(File(L"third.txt")));
    AnswerBeforeWindow(MultipleFilesWarning, IDOK);
    ExpectCreatedBeforeWindow(SendToShortcut(L"first"));
    ExpectShortcutTo(SendToShortcut(L"first"), first);
    EXPECT_FALSE(IsFile(SendToShortcut(L"second")));
    EXPECT_FALSE(IsFile(SendToShortcut(L"third")));
}

TEST_F(CommandLine, ProgramsOwnShortcutTogglesItsSendToShortcut) {
    const std::wstring own = SendToShortcut(L"Tavimbo");
    const Leftovers leftovers({own});
    WriteShortcut(own, {sandbox_.Exe().wstring()});
    Start(Quoted(own));
    AnswerBeforeWindow(expected::UpdateQuestion(L"送る", L"Tavimbo.Lnk"), IDNO);
    AnswerBeforeWindow(expected::Deleted(L"送る", own), IDOK);
    AnswerBeforeWindow(OpenQuestion, IDNO);
    ExpectWindowOpens();
    EXPECT_FALSE(IsFile(own));
}

// Windows' shell link object stores such a target whole, in UTF-16; Wine's keeps only its ANSI
// form, which no code page gives these, and the program then refuses to register it. Which
// of the two this system does, the bytes of a shortcut that the test writes itself tell.
TEST_F(CommandLine, AnEmojiTargetIsRegisteredWhereTheShellStoresItElseSendToStaysAsItWas) {
    const std::wstring sent = File(L"emoji😀👍.txt");
    const std::wstring shortcut = SendToShortcut(L"emoji😀👍");
    const bool stored = StoredLocalPath(Shortcut(L"probe.lnk", sent)) == sent;
    const Leftovers leftovers({shortcut});
    const auto contents = [] {
        std::map<std::wstring, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(SendToFolder())) {
            std::ifstream file(entry.path(), std::ios::binary);
            files[entry.path().filename()] = {std::istreambuf_iterator<char>(file), {}};
        }
        return files;
    };
    for (const bool update : {false, true}) {
        SCOPED_TRACE(update ? "update" : "create");
        if (update) {
            WriteShortcut(shortcut, {L"C:\\windows\\notepad.exe"});
        }
        const auto before = contents();
        Start(Quoted(sent));
        if (update) {
            AnswerBeforeWindow(expected::UpdateQuestion(L"送る", L"emoji😀👍.Lnk"), IDYES);
        }
        const std::wstring told[2][2] = {
            {expected::CreateFailed(L"送る", shortcut), expected::UpdateFailed(L"送る", shortcut)},
            {expected::Created(L"送る", shortcut), expected::Updated(L"送る", shortcut)}};
        AnswerBeforeWindow(told[stored][update], IDOK);
        AnswerBeforeWindow(OpenQuestion, IDNO);
        ExpectWindowOpens();
        if (stored) {
            ExpectShortcutTo(shortcut, sent);
        } else {
            EXPECT_EQ(contents(), before);
        }
    }
}

TEST_F(CommandLine, NothingToReceiveOpensTheWindowAtOnce) {
    const std::wstring cases[] = {L"\"\"", L"\"", L"\"\" \"\"", L" \t "};
    for (const std::wstring& arguments : cases) {
        SCOPED_TRACE("arguments: " + Narrow(arguments));
        Start(arguments);
        ExpectWindowOpens();
    }
}

TEST_F(CommandLine, ShortcutWithoutAnInstalledFileIsRefusedBeforeTheWindowOpens) {
    // The target is empty, which names the shortcut ".Lnk": the computer, and an installer's
    // shortcut to a product this computer does not have, whose icon file is no program.
    const Leftovers leftovers({SendToShortcut(L""), SendToShortcut(L"wordicon")});
    WriteShortcutToComputer(Path(L"Computer.lnk"));
    File(L"Word.lnk",
         InstallerShortcut(
             "C:\\windows\\Installer\\{90160000-0011-0000-0000-0000000FF1CE}\\wordicon.exe",
             "w_1^VX!!!!!!!!!MKKSkWORDFiles>tW{~$4Q]c@II=l2xaTO5Z"));
    for (const wchar_t* name : {L"Computer.lnk", L"Word.lnk"}) {
        SCOPED_TRACE(Narrow(name));
        Start(Quoted(Path(name)));
        AnswerBeforeWindow(expected::NoFileTarget(L"送る", SendToShortcut(L"")), IDOK);
        ExpectWindowOpens();
        EXPECT_FALSE(IsFile(SendToShortcut(L"wordicon")));
    }
}

TEST_F(CommandLine, PathsTheShellCannotHoldAreRefusedBeforeTheWindowOpens) {
    // One path of blanks and words filling a command line of 32,000 characters.
    const std::wstring exe = Quoted(sandbox_.Exe().wstring()) + L" ";
    std::wstring veryLong = sandbox_.Folder().wstring() + L"\\";
    while (exe.size() + veryLong.size() + 2 < 32000) {
        veryLong += L"long name ";
    }
    veryLong.resize(32000 - exe.size() - 2);
    ASSERT_EQ(exe.size() + Quoted(veryLong).size(), 32000U);
    const std::string cut = "C:\\" + std::string(280, 'n') + ".exe";
    struct Case {
        const char* name;
        std::wstring sent;
        std::wstring refusal;
    };
    const Case cases[] = {
        {"very long command line", veryLong, expected::PathTooLong(L"送る", veryLong)},
        {"shortcut to a name of 284 characters", File(L"long.lnk", ShortcutWithLocalPath(cut)),
         expected::PathTooLong(L"送る", std::wstring(cut.begin(), cut.end()))},
        {"con.txt", File(L"con.txt"), expected::ReservedName(L"送る", SendToShortcut(L"con"))},
        {"NUL.txt", File(L"NUL.txt"), expected::ReservedName(L"送る", SendToShortcut(L"NUL"))},
        {"com1.txt", File(L"com1.txt"), expected::ReservedName(L"送る", SendToShortcut(L"com1"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(Quoted(c.sent));
        AnswerBeforeWindow(c.refusal, IDOK);
        ExpectWindowOpens();
    }
}

TEST_F(CommandLine, MalformedShortcutsNeitherEndNorHangTheProgram) {
    const std::wstring program = File(L"Helper Tool.exe");
    const std::wstring seedPath = Shortcut(L"seed.lnk", program);
    std::ifstream seedFile(std::filesystem::path(seedPath), std::ios::binary);
    const Bytes seed{std::istreambuf_iterator<char>(seedFile), {}};
    const std::vector<MalformedShortcut> all = MalformedShortcuts(seed, 200);
    // The in-process test under Wine takes every one of them; here a spread of them, with every
    // value of the item list's size field that once left the program without a window.
    std::vector<const MalformedShortcut*> chosen;
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (index % 120 == 0 || all[index].name.starts_with("field at 76 ")) {
            chosen.push_back(&all[index]);
        }
    }
    for (const MalformedShortcut* shortcut : chosen) {
        SCOPED_TRACE(shortcut->name);
        const std::wstring sent = File(L"received.lnk", shortcut->bytes);
        Start(Quoted(sent));
        std::wstring created;
        for (int boxes = 0; boxes < 4; ++boxes) {
            // The next box, or none once the window is there.
            Box box;
            WaitUntil([&] {
                box = WaitForBox(program_->Id(), 50ms);
                return box || MainWindowShown(*program_);
            });
            if (!box) {
                break;
            }
            EXPECT_FALSE(MainWindowShown(*program_)) << Narrow(box.text);
            if (const std::wstring named = expected::CreatedShortcut(L"送る", box.text);
                !named.empty()) {
                created = named;
            }
            const bool updateQuestion = box.buttons.size() == 3; // はい, いいえ, Cancel
            box.Press(box.text == OpenQuestion ? IDNO : updateQuestion ? IDCANCEL : IDOK);
        }
        ExpectWindowOpens();
        if (!created.empty()) {
            const std::wstring target = ReadLink(created).target;
            EXPECT_LT(target.size(), 259U) << Narrow(target);
            ExpectShortcutTo(created, target);
            const Leftovers leftovers({created});
        }
    }
    std::cout << chosen.size() << " malformed shortcuts received on the command line\n";
}

// Files dropped on the running program's window through the X11 drag-and-drop protocol, which
// Wine turns into a real WM_DROPFILES. Under Wine only (labelled wine-only): Wine's OLE drag
// reaches no window that takes files with DragAcceptFiles, so no drop made with Windows' own
// means arrives there.
class Dropped : public Received {
protected:
    void SetUp() override {
        main_ = program_.MainWindow();
        ASSERT_NE(main_, nullptr);
    }

    // Asks the drag source on the Linux host (tests/tools/xdnd-drop.py) for the drop: a request
    // file in C:\tavimbo-host, answered by a file holding 0, or 1 and why the drop failed.
    static void Drop(const std::vector<std::wstring>& paths) {
        const std::filesystem::path folder = L"C:\\tavimbo-host";
        const std::wstring name = std::to_wstring(GetCurrentProcessId());
        std::filesystem::create_directories(folder);
        {
            std::ofstream request(folder / (name + L".tmp"), std::ios::binary);
            request << "Tavimbo\n";
            for (const std::wstring& path : paths) {
                request << Narrow(path) << '\n';
            }
        }
        std::filesystem::rename(folder / (name + L".tmp"), folder / (name + L".req"));
        const std::filesystem::path answer = folder / (name + L".out");
        ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(answer); }, 60s));
        std::ifstream input(answer, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(input), {}};
        input.close();
        std::filesystem::remove(answer);
        EXPECT_EQ(text, "0\n");
    }

    HWND OpenFolderButton() const { return FindChild(main_, L"Button", L"「送る」フォルダを開く"); }

    ExplorerWindows explorer_;
    Program program_{sandbox_.Exe()};
    HWND main_ = nullptr;
};

TEST_F(Dropped, OneFileOnTheMinimisedWindowIsRegisteredThenTheWindowComesUpAndShowsIt) {
    const Leftovers leftovers({SendToShortcut(L"dropped report")});
    const std::wstring file = File(L"dropped report.txt");
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }));
    Drop({file});
    const Box created = WaitForBox(program_.Id());
    ASSERT_TRUE(created);
    EXPECT_TRUE(IsIconic(main_)) << "restored before the drop was handled";
    EXPECT_EQ(created.caption, L"Tavimbo");
    EXPECT_EQ(created.text, expected::Created(L"送る", SendToShortcut(L"dropped report")));
    created.Press(IDOK);
    Answer(program_, OpenQuestion, IDNO);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main_) == FALSE; }, 5s));
    EXPECT_TRUE(IsWindowVisible(main_));
    ExpectShortcutTo(SendToShortcut(L"dropped report"), file);

    Click(OpenFolderButton());
    EXPECT_TRUE(explorer_.Started(ExplorerSelecting(SendToShortcut(L"dropped report"))));
}

TEST_F(Dropped, OfThreeFilesOnlyTheFirstIsRegisteredAfterAWarning) {
    const Leftovers leftovers(
        {SendToShortcut(L"first"), SendToShortcut(L"second"), SendToShortcut(L"third")});
    const std::wstring first = File(L"first.txt");
    Drop({first, File(L"second.txt"), File(L"third.txt")});
    Answer(program_, MultipleFilesWarning, IDOK);
    Answer(program_, expected::Created(L"送る", SendToShortcut(L"first")), IDOK);
    Answer(program_, OpenQuestion, IDNO);
    ExpectShortcutTo(SendToShortcut(L"first"), first);
    EXPECT_FALSE(IsFile(SendToShortcut(L"second")));
    EXPECT_FALSE(IsFile(SendToShortcut(L"third")));
}

TEST_F(Dropped, NameOfThreeHundredCharactersArrivesWholeAndIsRefused) {
    // The cut of a 256-character buffer would fall inside the file name.
    std::wstring folder = Path(L"");
    folder += std::wstring(200 - folder.size(), L'f');
    const std::wstring baseName = L"long name " + std::wstring(300 - 200 - 1 - 4 - 10, L'n');
    const std::wstring file = folder + L"\\" + baseName + L".txt";
    ASSERT_EQ(file.size(), 300U);
    const Leftovers leftovers({SendToShortcut(baseName)});
    std::filesystem::create_directories(folder);
    std::ofstream(std::filesystem::path(file), std::ios::binary) << "received";
    ASSERT_TRUE(IsFile(file));
    Drop({file});
    // The whole name, too long for the shell link object to keep.
    Answer(program_, expected::PathTooLong(L"送る", file), IDOK);
    ExpectNoBox(program_);
    EXPECT_FALSE(IsFile(SendToShortcut(baseName)));
}

} // namespace
