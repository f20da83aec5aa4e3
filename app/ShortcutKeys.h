#pragma once

#include <optional>
#include <string_view>

namespace app {

// The hidden popup menu: it exists only for the shortcut keys of its items.
enum class MenuCommand { Help, About, Properties, Close };

struct MenuItem {
    std::wstring_view name;
    std::wstring_view caption;
    unsigned shortcut; // virtual-key code + 0x2000 Shift + 0x4000 Ctrl + 0x8000 Alt
    MenuCommand command;
};

inline constexpr MenuItem PopupMenu1[] = {
    {L"N1", L"ヘルプ", 112, MenuCommand::Help},
    {L"About1", L"バージョン", 16397, MenuCommand::About},
    {L"N2", L"プロパティ", 32781, MenuCommand::Properties},
    {L"Close1", L"終了", 27, MenuCommand::Close},
};

struct ModifierKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool altGr = false;
};

// The shortcut value of a key press; none while AltGr is held, which matches nothing.
std::optional<unsigned> ShortcutValue(unsigned virtualKey, ModifierKeys modifiers);

// The menu item whose shortcut value equals the value exactly.
const MenuItem* FindShortcut(unsigned value);

} // namespace app
