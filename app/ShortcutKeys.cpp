#include "app/ShortcutKeys.h"

namespace app {

std::optional<unsigned> ShortcutValue(unsigned virtualKey, ModifierKeys modifiers) {
    if (modifiers.altGr) {
        return std::nullopt;
    }
    unsigned value = virtualKey & 0xFFu;
    if (modifiers.shift) {
        value += 0x2000;
    }
    if (modifiers.ctrl) {
        value += 0x4000;
    }
    if (modifiers.alt) {
        value += 0x8000;
    }
    return value;
}

const MenuItem* FindShortcut(unsigned value) {
    for (const MenuItem& item : PopupMenu1) {
        if (item.shortcut == value) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace app
