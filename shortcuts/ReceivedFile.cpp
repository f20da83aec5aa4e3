#include "shortcuts/ReceivedFile.h"

#include <cstdint>

namespace shortcuts {
namespace {

// wchar_t is signed on some platforms; the rule is about character codes.
std::uint32_t Code(wchar_t character) {
    return static_cast<std::uint32_t>(character);
}

bool IsSeparator(wchar_t character) {
    const std::uint32_t code = Code(character);
    return code >= 1 && code <= 32;
}

} // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    // A NUL ends the line, as it ends the text Windows hands over.
    commandLine = commandLine.substr(0, commandLine.find(L'\0'));
    std::vector<std::wstring> arguments;
    size_t position = 0;
    for (;;) {
        for (;;) {
            while (position < commandLine.size() && IsSeparator(commandLine[position])) {
                ++position;
            }
            if (commandLine.substr(position, 2) != L"\"\"") {
                break;
            }
            position += 2;
        }
        std::wstring argument;
        while (position < commandLine.size() && !IsSeparator(commandLine[position])) {
            if (commandLine[position] != L'"') {
                argument += commandLine[position++];
                continue;
            }
            const size_t closing = commandLine.find(L'"', position + 1);
            const size_t end = closing == std::wstring_view::npos ? commandLine.size() : closing;
            argument.append(commandLine.substr(position + 1, end - position - 1));
            position = closing == std::wstring_view::npos ? end : end + 1;
        }
        // Only the end of the line yields an empty argument: a quote that opens a run there.
        if (argument.empty()) {
            return arguments;
        }
        arguments.push_back(std::move(argument));
    }
}

} // namespace shortcuts
