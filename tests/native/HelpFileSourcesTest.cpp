// The help file's sources against the program: every message the help quotes is the program's
// own text, and every link, contents entry and index entry leads to a page and place that exist.

#include "services/AppInfo.h"
#include "services/ErrorText.h"
#include "settings/TextEncoding.h"
#include "info/HelpPage.h"
#include "platform/Error.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutFile.h"
#include "shortcuts/ReceivedFile.h"
#include "shortcuts/ShortcutToggle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const fs::path HelpFolder = TAVIMBO_HELP_FOLDER;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<fs::path> HelpFiles(const std::set<std::string>& extensions) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(HelpFolder)) {
        if (extensions.count(entry.path().extension().string()) != 0) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every text that stands between an opening and the next closing string.
std::vector<std::string> Between(const std::string& text, std::string_view opening,
                                 std::string_view closing) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(opening); at != std::string::npos;
         at = text.find(opening, at)) {
        at += opening.size();
        const std::size_t end = text.find(closing, at);
        if (end == std::string::npos) {
            break;
        }
        found.push_back(text.substr(at, end - at));
        at = end + closing.size();
    }
    return found;
}

// A quoted message as the program shows it: <br> is a line break (CR LF) and the few entities
// the pages use stand for their characters.
std::wstring MessageText(std::string html) {
    const std::pair<std::string, std::string> replacements[] = {
        {"<br>", "\r\n"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [from, to] : replacements) {
        for (std::size_t at = 0; (at = html.find(from, at)) != std::string::npos; at += to.size()) {
            html.replace(at, from.size(), to);
        }
    }
    return settings::DecodeText(html, settings::TextEncoding::Utf8);
}

std::wstring ErrorReportOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Error& error) {
        return services::ErrorReportText(error.Message());
    }
    return L"(no error)";
}

// What the program can show, with "…" where the help leaves a shortcut's path or name open.
std::set<std::wstring> ProgramTexts() {
    const std::wstring open = L"…";
    std::set<std::wstring> texts{
        std::wstring(services::CloseQuestion),
        std::wstring(shortcuts::MultipleFilesWarning),
        info::HelpFileNotFoundText(L"C:\\Tools\\Tavimbo.exe"),
        ErrorReportOf([] {
            (void)shortcuts::ShortcutBaseName(L"C:\\a|b.exe", L"C:\\Tavimbo.exe",
                                              services::AppTitle);
        }),
        ErrorReportOf([] {
            (void)info::FindHelpFile(L"C:\\" + std::wstring(300, L'a') + L"\\Tavimbo.exe",
                                     [](const std::wstring&) { return false; });
        }),
    };
    using Outcome = std::wstring (*)(std::wstring_view, std::wstring_view);
    const Outcome outcomes[] = {shortcuts::UpdatedMessage,      shortcuts::UpdateFailedMessage,
                                shortcuts::DeletedMessage,      shortcuts::DeleteFailedMessage,
                                shortcuts::CreatedMessage,      shortcuts::CreateFailedMessage,
                                shortcuts::UpdateQuestion,      shortcuts::PathTooLongMessage,
                                shortcuts::ReservedNameMessage, shortcuts::NoFileTargetMessage,
                                shortcuts::NoAnswerMessage};
    for (const shortcuts::ShortcutFolder& folder :
         {shortcuts::SendToFolder, shortcuts::DesktopFolder, shortcuts::ProgramsFolder,
          shortcuts::StartupFolder}) {
        for (const Outcome outcome : outcomes) {
            texts.insert(outcome(folder.label, open));
        }
        texts.insert(shortcuts::OpenFolderQuestion(folder.label));
    }
    return texts;
}

TEST(HelpFileSources, EveryQuotedMessageIsTheProgramsOwnText) {
    const std::set<std::wstring> program = ProgramTexts();
    std::size_t count = 0;
    for (const fs::path& page : HelpFiles({".html"})) {
        for (const std::string& html : Between(ReadFile(page), "<samp>", "</samp>")) {
            ++count;
            EXPECT_EQ(program.count(MessageText(html)), 1u)
                << page.filename().string() << ": " << testing::PrintToString(MessageText(html));
        }
    }
    EXPECT_GE(count, 13u) << "the messages page quotes every message";
}

// A link's page exists and holds the element that its anchor names.
TEST(HelpFileSources, EveryLinkContentsAndIndexEntryLeadsToAnExistingPlace) {
    for (const fs::path& file : HelpFiles({".html", ".hhc", ".hhk"})) {
        const std::string text = ReadFile(file);
        const bool isPage = file.extension() == ".html";
        const std::vector<std::string> targets =
            Between(text, isPage ? "<a href=\"" : "<param name=\"Local\" value=\"", "\"");
        EXPECT_FALSE(targets.empty()) << file.filename().string() << " links nowhere";
        for (const std::string& target : targets) {
            const std::size_t hash = target.find('#');
            const fs::path page = HelpFolder / target.substr(0, hash);
            ASSERT_TRUE(fs::exists(page)) << file.filename().string() << ": " << target;
            if (hash != std::string::npos) {
                EXPECT_NE(ReadFile(page).find("id=\"" + target.substr(hash + 1) + "\""),
                          std::string::npos)
                    << file.filename().string() << ": " << target;
            }
        }
        if (isPage && file.filename() != "index.html") {
            EXPECT_NE(text.find("<a href=\"index.html\">"), std::string::npos)
                << file.filename().string() << " does not lead back to the overview";
        }
    }
}

// Index keywords each lead somewhere of their own, not three to one page top.
TEST(HelpFileSources, IndexKeywordsOnOnePageLeadToTheirOwnAnchors) {
    std::map<std::string, int> pageTops;
    const std::string index = ReadFile(HelpFolder / "Tavimbo.hhk");
    for (const std::string& place : Between(index, "<param name=\"Local\" value=\"", "\"")) {
        if (place.find('#') == std::string::npos) {
            EXPECT_LE(++pageTops[place], 2) << place << " without an anchor";
        }
    }
}

} // namespace
