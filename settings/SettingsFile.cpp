#include "settings/SettingsFile.h"

#include "services/NumberText.h"

#include <algorithm>
#include <iterator>

namespace settings {

namespace {

bool IsBlankOrControl(wchar_t character) {
    return character <= L' ';
}

bool IsBlank(wchar_t character) {
    return character == L' ';
}

// The white space that Windows' own reader skips around lines, section names and keys. Other
// control characters are data to it: a line that starts with one is no section.
bool IsWindowsSpace(wchar_t character) {
    return character == L' ' || (character >= L'\t' && character <= L'\r') || character == L'\x1A';
}

template <class Predicate> std::wstring_view TrimLeft(std::wstring_view text, Predicate strip) {
    while (!text.empty() && strip(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

template <class Predicate> std::wstring_view TrimRight(std::wstring_view text, Predicate strip) {
    while (!text.empty() && strip(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

template <class Predicate> std::wstring_view Trim(std::wstring_view text, Predicate strip) {
    return TrimLeft(TrimRight(text, strip), strip);
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

// Characters rather than pointers: nothing for the loader to relocate.
constexpr wchar_t SaveFileExtensions[][5] = {L".tmp", L".bak", L".old"};

// ".0000002A-0123456789ABCDEF": a fingerprint in a journal's name.
constexpr std::size_t SizeDigits = 8;
constexpr std::size_t HashDigits = 16;
constexpr std::size_t FingerprintLength = SizeDigits + HashDigits + 2;
constexpr std::size_t FileDigits = 16;

std::wstring FingerprintText(const Fingerprint& fingerprint) {
    return L'.' + services::HexText(fingerprint.size, SizeDigits) + L'-' +
           services::HexText(fingerprint.hash, HashDigits);
}

// Takes the fingerprint off the end of the name.
std::optional<Fingerprint> TakeFingerprint(std::wstring_view& name) {
    if (name.size() < FingerprintLength) {
        return std::nullopt;
    }
    const std::wstring_view text = name.substr(name.size() - FingerprintLength);
    const auto size = services::ReadHexText(text.substr(1, SizeDigits));
    const auto hash = services::ReadHexText(text.substr(SizeDigits + 2));
    if (text[0] != L'.' || text[SizeDigits + 1] != L'-' || !size || !hash) {
        return std::nullopt;
    }
    name.remove_suffix(FingerprintLength);
    return Fingerprint{static_cast<std::uint32_t>(*size), *hash};
}

} // namespace

Fingerprint FingerprintOf(std::string_view bytes) {
    // FNV-1a: enough to tell a file's bytes from the others it may hold.
    std::uint64_t hash = 0xCBF29CE484222325;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001B3;
    }
    return {static_cast<std::uint32_t>(bytes.size()), hash};
}

// Named after the run, so that two copies of the program closing together never write into
// each other's files, and a later run can tell the files of one that has ended.
std::wstring SaveFilePath(std::wstring_view settingsPath, const SaveFileName& name) {
    std::wstring path = std::wstring(settingsPath) + L'.' + services::RunTagText(name.run);
    if (name.kind == SaveFileKind::Journal) {
        path += L'.' + services::HexText(name.file, FileDigits) + FingerprintText(name.copied) +
                FingerprintText(name.completed);
    }
    return path + SaveFileExtensions[static_cast<int>(name.kind)];
}

std::optional<SaveFileName> ParseSaveFileName(std::wstring_view settingsName,
                                              std::wstring_view name) {
    if (name.size() <= settingsName.size() + 1 + 4 ||
        !SameText(name.substr(0, settingsName.size()), settingsName) ||
        name[settingsName.size()] != L'.') {
        return std::nullopt;
    }
    name.remove_prefix(settingsName.size() + 1);
    const auto extension = std::ranges::find_if(SaveFileExtensions, [&](std::wstring_view each) {
        return SameText(name.substr(name.size() - 4), each);
    });
    if (extension == std::end(SaveFileExtensions)) {
        return std::nullopt;
    }
    name.remove_suffix(4);
    SaveFileName parsed{
        {}, static_cast<SaveFileKind>(extension - std::begin(SaveFileExtensions)), 0, {}, {}};
    if (parsed.kind == SaveFileKind::Journal) {
        const std::optional<Fingerprint> completed = TakeFingerprint(name);
        const std::optional<Fingerprint> copied = completed ? TakeFingerprint(name) : std::nullopt;
        const std::optional<std::uint64_t> file =
            copied && name.size() > FileDigits + 1 && name[name.size() - FileDigits - 1] == L'.'
                ? services::ReadHexText(name.substr(name.size() - FileDigits))
                : std::nullopt;
        if (!file) {
            return std::nullopt;
        }
        parsed.file = *file;
        parsed.copied = *copied;
        parsed.completed = *completed;
        name.remove_suffix(FileDigits + 1);
    }
    const std::optional<services::RunTag> run = services::ParseRunTag(name);
    if (!run) {
        return std::nullopt;
    }
    parsed.run = *run;
    return parsed;
}

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
        const std::wstring_view line =
            TrimRight(TrimLeft(text.substr(0, end), IsWindowsSpace), IsBlank);
        if (end == std::wstring_view::npos) {
            text = {};
        } else {
            const bool crlf = text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n';
            text.remove_prefix(end + (crlf ? 2 : 1));
        }

        if (line.empty() || line.front() == L';') {
            continue;
        }
        const std::wstring_view bracketed = Trim(line, IsBlankOrControl);
        if (bracketed.size() >= 2 && bracketed.front() == L'[' && bracketed.back() == L']') {
            const std::wstring_view inner = bracketed.substr(1, bracketed.size() - 2);
            const std::wstring_view name = Trim(inner, IsBlankOrControl);
            // Control characters before "[" or around the name hide the section from Windows'
            // reader: to it, these lines belong to the section before. So they are never taken
            // for a section of that name, and are written back as they came.
            if (line.front() == L'[' && Trim(inner, IsWindowsSpace) == name) {
                current = file.FindSection(name);
                if (current == nullptr) {
                    current = &file.sections_.emplace_back(Section{std::wstring(name), {}, false});
                }
            } else {
                current = &file.sections_.emplace_back(Section{std::wstring(line), {}, true});
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        // Only blanks are trimmed from a value: anything else in it is another program's data.
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            current->lines.push_back(Line{std::wstring(line), {}, false});
        } else {
            current->lines.push_back(
                Line{std::wstring(TrimRight(line.substr(0, equals), IsWindowsSpace)),
                     std::wstring(TrimLeft(line.substr(equals + 1), IsBlank)), true});
        }
    }
    return file;
}

IniFile::Section* IniFile::FindSection(std::wstring_view name) {
    const auto found = std::ranges::find_if(sections_, [&](const Section& section) {
        return !section.hidden && SameText(section.name, name);
    });
    return found == sections_.end() ? nullptr : &*found;
}

void IniFile::EraseSection(std::wstring_view section) {
    std::erase_if(sections_, [&](const Section& each) {
        return !each.hidden && SameText(each.name, section);
    });
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view key,
                          std::wstring_view value) {
    Section* target = FindSection(section);
    if (target == nullptr) {
        target = &sections_.emplace_back(Section{std::wstring(section), {}, false});
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
        text += section.hidden ? section.name : L'[' + section.name + L']';
        text += L"\r\n";
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

} // namespace settings
