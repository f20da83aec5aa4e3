#include "shortcuts/ReceivedFile_win.h"

#include "services/FilePath.h"
#include "platform/Handles.h"
#include "platform/Win32Error.h"
#include "shortcuts/ReceivedFile.h"
#include "shortcuts/ShellHelpers_win.h"
#include "shortcuts/ShortcutFolders.h"
#include "shortcuts/ShortcutToggle_win.h"

#include <cwchar>

namespace shortcuts {
namespace {

// Taken during static initialisation, before anything in the program can change it.
const LCID StartLocale = GetThreadLocale();

void RegisterReceivedFile(const services::Application& application, ShortcutState& state,
                          std::wstring path) {
    state.TargetPath = ReceivedTarget(std::move(path));
    ToggleShortcut(application, state, SendToFolder, state.TargetPath);
}

} // namespace

std::wstring LinguisticLowerCase(const std::wstring& text) {
    // Windows refuses to map an empty text.
    if (text.empty()) {
        return text;
    }
    constexpr DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const int sourceLength = static_cast<int>(text.size());
    const int length = LCMapStringW(StartLocale, flags, text.data(), sourceLength, nullptr, 0);
    if (length == 0) {
        platform::ThrowLastError();
    }
    std::wstring lowered(static_cast<size_t>(length), L'\0');
    if (LCMapStringW(StartLocale, flags, text.data(), sourceLength, lowered.data(), length) == 0) {
        platform::ThrowLastError();
    }
    return lowered;
}

std::wstring FirstDroppedName(HDROP drop) {
    // Asked for its length first: a fixed buffer would cut a long name short.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) {
        return {};
    }
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, 0, name.data(), length + 1);
    name.resize(std::wcslen(name.c_str()));
    return name;
}

std::wstring ReceivedTarget(std::wstring path) {
    if (LinguisticLowerCase(std::wstring(services::ExtractFileExtension(path))) != L".lnk") {
        return path;
    }
    return GetLongPath(ResolveShortcutTarget(path));
}

void ReceiveCommandLine(const services::Application& application, ShortcutState& state,
                        std::wstring_view commandLine) {
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    // The first argument is the program itself.
    if (arguments.size() < 2) {
        return;
    }
    if (arguments.size() > 2) {
        application.ShowPlainMessage(std::wstring(MultipleFilesWarning));
    }
    RegisterReceivedFile(application, state, arguments[1]);
}

void ReceiveDroppedFiles(const services::Application& application, ShortcutState& state,
                         HDROP drop) {
    const platform::DropHandle owner(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    // A drop whose name cannot be read is released and otherwise ignored: there is nothing
    // to register, and the warning would promise a first file that never comes.
    std::wstring name = FirstDroppedName(drop);
    if (name.empty()) {
        return;
    }
    if (count >= 2) {
        application.ShowPlainMessage(std::wstring(MultipleFilesWarning));
    }
    RegisterReceivedFile(application, state, std::move(name));
}

} // namespace shortcuts
