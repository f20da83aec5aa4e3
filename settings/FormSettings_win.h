#pragma once

#include <windows.h>

#include "settings/FormSettings.h"

namespace settings {

// The settings file beside the executable, as the main window reads it at start and rewrites it
// when it closes.
class FormSettingsFile {
public:
    // Places the window, still hidden, as the file says; what it shows besides. windowState is
    // the state to fall back on.
    FormSettings Load(HWND window, int windowState);

    // Rewrites the file with the window's placement and state and the options. A file that
    // could not be read at start is never rewritten: the first save reports why.
    void Save(HWND window, bool closeQuery, bool saveStatus);

private:
    bool keepFile_ = false;
    DWORD readError_ = ERROR_SUCCESS;
};

} // namespace settings
