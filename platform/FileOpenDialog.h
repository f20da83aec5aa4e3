#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// What the common item dialog for opening is shown with.
struct FileOpenRequest {
    HWND owner = nullptr;
    std::wstring title;
    std::vector<std::pair<std::wstring, std::wstring>> fileTypes; // name, pattern
    FILEOPENDIALOGOPTIONS options = 0; // the complete option set, replacing the defaults
    std::wstring folder;               // the folder it opens in, whatever was visited last
    std::wstring fileName;             // put into the name box
};

// Shows the dialog modally: the file-system path of the item chosen, or nothing when the user
// cancelled. Any other failure raises an Error.
std::optional<std::wstring> ShowFileOpenDialog(const FileOpenRequest& request);

} // namespace platform
