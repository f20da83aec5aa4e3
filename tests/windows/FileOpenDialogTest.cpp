#include "platform/Error.h"
#include "platform/FileOpenDialog.h"
#include "platform/Handles.h"
#include "tests/e2e/Driver.h"
#include "tests/windows/ScratchFolder.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

namespace {

using namespace std::chrono_literals;

// What the user did in the dialog, seen from a second thread while the dialog runs modally.
struct Seen {
    std::wstring caption;
    std::wstring offered;
    bool leftOpen = false;
};

// Answers the next dialog of this process: types the text and confirms it, or cancels when
// the text is empty.
std::future<Seen> AnswerDialog(std::wstring typed) {
    return std::async(std::launch::async, [typed] {
        const e2e::Box dialog = e2e::WaitForBox(GetCurrentProcessId());
        Seen seen;
        if (!dialog) {
            return seen;
        }
        seen.caption = dialog.caption;
        const HWND name = e2e::FileNameBox(dialog.handle);
        seen.offered = name != nullptr ? e2e::WindowText(name) : L"(no file-name box)";
        if (typed.empty()) {
            PostMessageW(GetDlgItem(dialog.handle, IDCANCEL), BM_CLICK, 0, 0);
        } else {
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
            PostMessageW(GetDlgItem(dialog.handle, IDOK), BM_CLICK, 0, 0);
        }
        // A name the dialog does not accept keeps it open, perhaps under a message of its
        // own: close whatever is left, so that a failing test ends instead of waiting.
        if (!e2e::WaitUntil([&] { return !IsWindowVisible(dialog.handle); }, 5s)) {
            seen.leftOpen = true;
            e2e::WaitUntil([] {
                for (HWND window : e2e::TopWindows(GetCurrentProcessId())) {
                    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    PostMessageW(window, WM_CLOSE, 0, 0);
                }
                return e2e::TopWindows(GetCurrentProcessId()).empty();
            });
        }
        return seen;
    });
}

class FileOpenDialog : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        file_ = Write(L"pick me.txt", "x");
    }

    platform::FileOpenRequest Request() const {
        return {nullptr,
                L"ファイルを指定",
                {{L"Text", L"*.txt"}, {L"All", L"*.*"}},
                FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST,
                folder_.wstring(),
                L"offered name"};
    }

    platform::ComInitialization com_;
    std::wstring file_;
};

TEST_F(FileOpenDialog, OpensOnTheFolderGivenWithTitleAndNameBox) {
    auto seen = AnswerDialog(L"pick me.txt"); // a bare name: found only in the folder given
    const auto picked = platform::ShowFileOpenDialog(Request());
    const Seen dialog = seen.get();
    EXPECT_FALSE(dialog.leftOpen) << "the name was not found in the folder given";
    EXPECT_EQ(dialog.caption, L"ファイルを指定");
    EXPECT_EQ(dialog.offered, L"offered name");
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, file_);
}

TEST_F(FileOpenDialog, FolderPickerKeepsItsTitleAndReturnsTheFolder) {
    auto request = Request();
    request.fileTypes.clear();
    request.options = FOS_PICKFOLDERS | FOS_CREATEPROMPT;
    request.title = L"フォルダを指定";
    request.folder = folder_.wstring() + L"\\..";
    request.fileName.clear();
    auto seen = AnswerDialog(folder_.wstring());
    const auto picked = platform::ShowFileOpenDialog(request);
    EXPECT_EQ(seen.get().caption, L"フォルダを指定");
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, folder_.wstring());
}

TEST_F(FileOpenDialog, CancelGivesNothing) {
    auto seen = AnswerDialog(L"");
    EXPECT_FALSE(platform::ShowFileOpenDialog(Request()).has_value());
    EXPECT_EQ(seen.get().caption, L"ファイルを指定");
}

TEST_F(FileOpenDialog, AMissingFolderStillShowsTheDialog) {
    auto request = Request();
    request.folder = Path(L"missing");
    auto seen = AnswerDialog(file_);
    const auto picked = platform::ShowFileOpenDialog(request);
    EXPECT_EQ(seen.get().offered, L"offered name");
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, file_);
}

} // namespace
