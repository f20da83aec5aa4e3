#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace shortcuts {

// Lower-cased with the linguistic casing of the thread locale that was current at start.
std::wstring LinguisticLowerCase(const std::wstring& text);

// The first name of a drop, read whole however long it is; empty when none can be read.
std::wstring FirstDroppedName(HDROP drop);

// What a received path stands for: a shortcut file's target in its long form, any other path
// exactly as received.
std::wstring ReceivedTarget(std::wstring path);

} // namespace shortcuts
