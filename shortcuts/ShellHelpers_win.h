#pragma once

#include <windows.h>
#include <msi.h>

#include "services/BoundedWork_win.h"

#include <string>

// The shell folder and shortcut helpers; folders are numbered as CSIDL values.
namespace shortcuts {

// The folder's path, always ending in "\". Raises an Error naming the folder when Windows
// gives it no file-system path.
std::wstring GetSpecialFolderPath(int folder);

// The long form of the path, or the path itself when there is none or it does not fit.
std::wstring GetLongPath(const std::wstring& path);

// The path a shortcut file points to ("" when that is no file-system path), a relative one
// taken from the shortcut's own folder, the installed file for an installer's shortcut ("" when
// it is not installed), or the argument itself when the file cannot be read as a shortcut. The
// target is read as stored, never searched for, so no window opens and no drive is waited on.
std::wstring ResolveShortcutTarget(const std::wstring& path);

// The two questions that resolve an installer's shortcut, as msi.dll answers them.
struct InstallerQueries {
    decltype(MsiGetShortcutTargetW)* shortcutTarget;
    decltype(MsiGetComponentPathW)* componentPath;
};

// The installed file that a shortcut with an installer descriptor stands for; empty when its
// product or component is not installed, or the installer cannot say, or has not said within
// the bound: it checks that a location to run from is reachable, which may be a server that
// does not answer.
std::wstring InstalledTarget(const std::wstring& shortcutPath, const InstallerQueries& installer,
                             DWORD bound = services::ServerBound);

// Starts Explorer with the file selected, or on the folder that should hold it when no file
// is there.
void ShowInExplorer(const std::wstring& path);

// A file, not a folder, exists at the path, however long it is.
bool FileExists(const std::wstring& path);

// The folder exists at the full path, made with any missing parents; false when it cannot be
// made (a file in its way, a drive that is not there, no right to write).
bool MakeFolder(const std::wstring& path);

} // namespace shortcuts
