#include "app/FilePath.h"

namespace app {

namespace {

constexpr std::wstring_view Delimiters = L"\\/:";

bool IsDelimiter(wchar_t character) {
    return Delimiters.find(character) != std::wstring_view::npos;
}

// The length of the folder part, trailing delimiter included.
std::size_t FolderLength(std::wstring_view path) {
    const std::size_t last = path.find_last_of(Delimiters);
    return last == std::wstring_view::npos ? 0 : last + 1;
}

} // namespace

std::wstring ChangeFileExtension(std::wstring_view path, std::wstring_view extension) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t end =
        dot != std::wstring_view::npos && dot >= FolderLength(path) ? dot : path.size();
    std::wstring result(path.substr(0, end));
    result += extension;
    return result;
}

std::wstring ExtractFileName(std::wstring_view path) {
    return std::wstring(path.substr(FolderLength(path)));
}

std::wstring ExtractFileDirectory(std::wstring_view path) {
    std::size_t length = FolderLength(path);
    // "C:\" and "\" keep their delimiter: without it they would name something else.
    if (length > 1 && path[length - 1] != L':' && !IsDelimiter(path[length - 2])) {
        --length;
    }
    return std::wstring(path.substr(0, length));
}

} // namespace app
