#pragma once

#include <string_view>

namespace shortcuts {

// A shell folder that can hold the program's shortcuts: its CSIDL number and the label that
// names it inside messages.
struct ShortcutFolder {
    int id;
    std::wstring_view label;
};

inline constexpr ShortcutFolder SendToFolder{9, L"送る"};
inline constexpr ShortcutFolder DesktopFolder{0, L"デスクトップ"};
inline constexpr ShortcutFolder ProgramsFolder{2, L"スタートメニューのプログラム"};
inline constexpr ShortcutFolder StartupFolder{7, L"スタートアップ"};

} // namespace shortcuts
