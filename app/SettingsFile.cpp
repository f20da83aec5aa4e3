#include "app/SettingsFile.h"

#include <algorithm>

namespace app {

namespace {

bool IsBlankOrControl(wchar_t character) {
    return character <= L' ';
}

std::wstring_view TrimLeft(std::wstring_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::wstring_view TrimRight(std::wstring_view text) {
    while (!text.empty() && IsBlankOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::wstring_view Trim(std::wstring_view text) {
    return TrimLeft(TrimRight(text));
}

wchar_t FoldCase(wchar_t character) {
    return character >= L'a' && character <= L'z' ? static_cast<wchar_t>(character - L'a' + L'A')
                                                  : character;
}

bool SameText(std::wstring_view left, std::wstring_view right) {
    return std::ranges::equal(left, right, {}, FoldCase, FoldCase);
}

int DigitValue(wchar_t character, unsigned base) {
    if (character >= L'0' && character <= L'9') {
        return character - L'0';
    }
    if (base == 16 && FoldCase(character) >= L'A' && FoldCase(character) <= L'F') {
        return FoldCase(character) - L'A' + 10;
    }
    return -1;
}

// The digits' value, or -1 when they are empty, contain anything else or exceed the limit.
std::int64_t ReadDigits(std::wstring_view digits, unsigned base, std::uint32_t limit) {
    if (digits.empty()) {
        return -1;
    }
    std::int64_t value = 0;
    for (wchar_t character : digits) {
        const int digit = DigitValue(character, base);
        if (digit < 0) {
            return -1;
        }
        value = value * base + digit;
        if (value > limit) {
            return -1;
        }
    }
    return value;
}

} // namespace

std::int32_t ReadInteger(std::wstring_view text, std::int32_t fallback) {
    while (!text.empty() && text.front() == L' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.starts_with(L'$') || text.starts_with(L'x') || text.starts_with(L'X')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.size() >= 2 && text[0] == L'0' && FoldCase(text[1]) == L'X') {
        text.remove_prefix(2);
        base = 16;
    }
    // Hexadecimal is a 32-bit pattern of at most 8 digits: "$FFFFFFFF" is -1.
    const std::int64_t magnitude = base == 16
                                       ? (text.size() <= 8 ? ReadDigits(text, 16, 0xFFFFFFFFu) : -1)
                                       : ReadDigits(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
    if (magnitude < 0) {
        return fallback;
    }
    // Unsigned arithmetic wraps, so "-$80000000" and "-2147483648" both give the lowest value.
    const auto bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

bool ReadBoolean(std::wstring_view text, bool fallback) {
    return ReadInteger(text, fallback ? 1 : 0) != 0;
}

IniFile IniFile::Parse(std::wstring_view text) {
    IniFile file;
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n");
        const std::wstring_view line = Trim(text.substr(0, end));
        if (end == std::wstring_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }

        if (line.empty() || line.front() == L';') {
            continue;
        }
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            const std::wstring_view name = Trim(line.substr(1, line.size() - 2));
            current = file.FindSection(name);
            if (current == nullptr) {
                current = &file.sections_.emplace_back(Section{std::wstring(name), {}});
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            current->lines.push_back(Line{std::wstring(line), {}, false});
        } else {
            current->lines.push_back(Line{std::wstring(TrimRight(line.substr(0, equals))),
                                          std::wstring(TrimLeft(line.substr(equals + 1))), true});
        }
    }
    return file;
}

IniFile::Section* IniFile::FindSection(std::wstring_view name) {
    const auto found = std::ranges::find_if(
        sections_, [&](const Section& section) { return SameText(section.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

void IniFile::EraseSection(std::wstring_view section) {
    std::erase_if(sections_, [&](const Section& each) { return SameText(each.name, section); });
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view key,
                          std::wstring_view value) {
    Section* target = FindSection(section);
    if (target == nullptr) {
        target = &sections_.emplace_back(Section{std::wstring(section), {}});
    }
    const auto found = std::ranges::find_if(
        target->lines, [&](const Line& line) { return line.isEntry && SameText(line.key, key); });
    if (found != target->lines.end()) {
        found->value = value;
    } else {
        target->lines.push_back(Line{std::wstring(key), std::wstring(value), true});
    }
}

std::wstring IniFile::Text() const {
    std::wstring text;
    for (const Section& section : sections_) {
        text += L'[';
        text += section.name;
        text += L"]\r\n";
        for (const Line& line : section.lines) {
            text += line.key;
            if (line.isEntry) {
                text += L'=';
                text += line.value;
            }
            text += L"\r\n";
        }
        text += L"\r\n";
    }
    return text;
}

} // namespace app
