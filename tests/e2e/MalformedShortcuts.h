#pragma once

// Shortcut files as an attacker or a damaged disk hands them over: crafted from scratch, or
// mutated from one the program wrote.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using Bytes = std::vector<std::uint8_t>;

// A shortcut that holds nothing but a local path (ANSI, as stored in its link information), so
// that any text can stand as its target: relative, too long, with characters no path allows.
// Without a terminating NUL the path runs to the end of the file.
Bytes ShortcutWithLocalPath(std::string_view path, bool terminated = true);

// An installer's shortcut, as Windows Installer writes one: the path of its icon file and the
// (ASCII) descriptor that names the product, feature and component it stands for.
Bytes InstallerShortcut(std::string_view iconFile, std::string_view descriptor);

struct MalformedShortcut {
    std::string name;
    Bytes bytes;
};

// Every truncation of the seed, `flips` single-bit flips at seeded random places, and each
// length, offset and count field the seed holds set to values a parser may trip over.
std::vector<MalformedShortcut> MalformedShortcuts(const Bytes& seed, int flips);

} // namespace e2e
