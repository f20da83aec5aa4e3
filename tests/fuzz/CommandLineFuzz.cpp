// The command-line splitting: arguments never hold a quote, a separator outside quotes or a
// NUL, are never empty, and arguments put back in quotes split into themselves again.

#include "tests/fuzz/FuzzTarget.h"

#include "shortcuts/ReceivedFile.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using fuzz::Require;

std::wstring QuotedLine(const std::vector<std::wstring>& arguments, wchar_t separator) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        line += L'"' + argument + L'"' + separator;
    }
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line = fuzz::Widened(fuzz::Bytes(data, size));
    const std::vector<std::wstring> arguments = shortcuts::SplitCommandLine(line);

    std::size_t characters = 0;
    for (const std::wstring& argument : arguments) {
        Require(!argument.empty(), "an argument is empty");
        Require(argument.find_first_of(std::wstring(L"\"\0", 2)) == std::wstring::npos,
                "an argument holds a quote or a NUL");
        characters += argument.size();
    }
    // Every character of an argument comes from the line before its first NUL.
    const std::wstring_view text = std::wstring_view(line).substr(0, line.find(L'\0'));
    Require(characters <= text.size() - std::ranges::count(text, L'"'),
            "the arguments hold more characters than the line");
    // Only the end of the line stops the splitting, so any other character makes an argument.
    const bool blank = std::ranges::all_of(text, [](wchar_t c) { return c == L'"' || c <= L' '; });
    Require(blank || !arguments.empty(), "a line with characters yields no argument");

    // A separator other than the blank shows that any code 1 to 32 separates.
    const wchar_t separator = size > 0 ? static_cast<wchar_t>(1 + data[0] % 32) : L' ';
    Require(shortcuts::SplitCommandLine(QuotedLine(arguments, separator)) == arguments,
            "arguments in quotes do not split into themselves");
    std::wstring bare;
    bool plain = true;
    for (const std::wstring& argument : arguments) {
        plain = plain && std::ranges::none_of(argument, [](wchar_t c) { return c <= L' '; });
        bare += argument + separator;
    }
    Require(!plain || shortcuts::SplitCommandLine(bare) == arguments,
            "arguments without blanks do not split into themselves");
    return 0;
}
