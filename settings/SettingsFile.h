#pragma once

#include "services/RunTag.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The value of a settings entry read as an integer, or fallback when the text is no number.
std::int32_t ReadInteger(std::wstring_view text, std::int32_t fallback);
bool ReadBoolean(std::wstring_view text, bool fallback);

// The files that a save keeps beside the settings file while it runs: the new file before it
// takes the old one's place, the old file once ReplaceFileW has moved it aside, and a copy of
// the old bytes while the file is rewritten in place.
enum class SaveFileKind { Temporary, Backup, Journal };

// The number of a file's bytes and their hash: what a file holds, told without its bytes.
struct Fingerprint {
    std::uint32_t size = 0;
    std::uint64_t hash = 0;

    bool operator==(const Fingerprint&) const = default;
};

Fingerprint FingerprintOf(std::string_view bytes);

// A journal's name also says which file it copies (its number on its volume), what the copy
// holds, and what the file holds once its rewrite has completed.
struct SaveFileName {
    services::RunTag run;
    SaveFileKind kind;
    std::uint64_t file = 0;
    Fingerprint copied;
    Fingerprint completed;
};

std::wstring SaveFilePath(std::wstring_view settingsPath, const SaveFileName& name);

// Which of a save's files the name beside the settings file is, if it is one; every other name
// is some other program's or the user's.
std::optional<SaveFileName> ParseSaveFileName(std::wstring_view settingsName,
                                              std::wstring_view name);

// An INI file held in memory: read forgivingly, changed section by section, written back whole.
class IniFile {
public:
    static IniFile Parse(std::wstring_view text);

    void EraseSection(std::wstring_view section);
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    // The whole file: CR LF after every line, an empty line after every section.
    std::wstring Text() const;

private:
    struct Line {
        std::wstring key; // the whole line when it is no entry
        std::wstring value;
        bool isEntry = false;
    };
    struct Section {
        std::wstring name; // the whole header line when the section is hidden
        std::vector<Line> lines;
        bool hidden = false; // a header that Windows' own reader does not see as one
    };

    Section* FindSection(std::wstring_view name);

    std::vector<Section> sections_;
};

} // namespace settings
