#pragma once

#include <string>

// The shell folder and shortcut helpers; folders are numbered as CSIDL values.

// The folder's path, always ending in "\".
std::wstring GetSpecialFolderPath(int folder);
