// The shell link layer against Wine's real shell link object, checked by an independent reader.

#include "platform/Error.h"
#include "platform/Handles.h"
#include "platform/ShellLink.h"
#include "tests/e2e/Driver.h"
#include "tests/windows/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    const platform::ShellLink writer;
    ASSERT_EQ(writer.SaveTarget(target_.wstring(), link_.wstring()), S_OK);

    EXPECT_EQ(ReadTarget(link_), target_.wstring());

    const e2e::HostResult lnkinfo = e2e::RunOnHost({L"lnkinfo", e2e::UnixPath(link_)});
    ASSERT_EQ(lnkinfo.exitCode, 0) << lnkinfo.output;
    EXPECT_NE(lnkinfo.output.find("Local path\t\t\t: " + e2e::Narrow(target_.wstring())),
              std::string::npos)
        << lnkinfo.output;
}

TEST_F(ShellLinkTest, SavingOverAnExistingShortcutReplacesItsTarget) {
    const std::filesystem::path other = Write(L"other.txt", "other");
    ASSERT_EQ(platform::ShellLink().SaveTarget(target_.wstring(), link_.wstring()), S_OK);
    ASSERT_EQ(platform::ShellLink().SaveTarget(other.wstring(), link_.wstring()), S_OK);
    EXPECT_EQ(ReadTarget(link_), other.wstring());
}

TEST_F(ShellLinkTest, ATargetWithSlashesIsSavedInItsFullForm) {
    std::wstring slashed = target_.wstring();
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    ASSERT_EQ(platform::ShellLink().SaveTarget(slashed, link_.wstring()), S_OK);
    EXPECT_EQ(ReadTarget(link_), target_.wstring());
}

TEST_F(ShellLinkTest, SavingATargetTheFileCannotHoldWholeFails) {
    // The shell link object reports success for targets it stores cut or empty.
    for (const size_t length : {260U, 300U}) {
        std::wstring target = folder_.wstring() + L"\\";
        target += std::wstring(length - target.size() - 4, L'x') + L".txt";
        EXPECT_NE(platform::ShellLink().SaveTarget(target, link_.wstring()), S_OK) << length;
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
