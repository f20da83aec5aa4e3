#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The value of a settings entry read as an integer, or fallback when the text is no number.
std::int32_t ReadInteger(std::wstring_view text, std::int32_t fallback);
bool ReadBoolean(std::wstring_view text, bool fallback);

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
