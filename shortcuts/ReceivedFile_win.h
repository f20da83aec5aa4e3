#pragma once

#include <windows.h>
#include <shellapi.h>

#include "services/Application_win.h"
#include "shortcuts/ShortcutToggle.h"

#include <string>
#include <string_view>

namespace shortcuts {

// Lower-cased with the linguistic casing of the thread locale that was current at start.
std::wstring LinguisticLowerCase(const std::wstring& text);

// The first name of a drop, read whole however long it is; empty when none can be read.
std::wstring FirstDroppedName(HDROP drop);

// What a received path stands for: a shortcut file's target in its long form, any other path
// exactly as received.
std::wstring ReceivedTarget(std::wstring path);

// A file named on the command line (the first argument after the program) or dropped on the
// window gets its shortcut in SendTo; more than one is warned of, and the first is taken.
void ReceiveCommandLine(const services::Application& application, ShortcutState& state,
                        std::wstring_view commandLine);
// Releases the drop whatever happens.
void ReceiveDroppedFiles(const services::Application& application, ShortcutState& state,
                         HDROP drop);

} // namespace shortcuts
