#include "info/HelpPage.h"

#include "services/FilePath.h"
#include "platform/Error.h"

namespace info {
namespace {

constexpr std::size_t MaxPath = 260;

} // namespace

std::wstring HelpFileName(const std::wstring& exePath) {
    return services::ChangeFileExtension(exePath, L".chm");
}

std::optional<std::wstring>
FindHelpFile(const std::wstring& exePath,
             const std::function<bool(const std::wstring&)>& fileExists) {
    std::wstring candidate = HelpFileName(exePath);
    for (;;) {
        if (fileExists(candidate)) {
            return candidate;
        }
        if (candidate.size() >= MaxPath && candidate.rfind(L"\\\\?\\", 0) != 0) {
            throw platform::Error(L"The specified path is too long");
        }
        const std::wstring parent = services::ParentFolder(services::ParentFolder(candidate));
        if (parent.empty()) {
            return std::nullopt;
        }
        const std::wstring separator =
            parent.back() == L'\\' || parent.back() == L'/' ? L"" : L"\\";
        candidate = parent + separator + services::ExtractFileName(candidate);
    }
}

std::wstring HelpFileNotFoundText(const std::wstring& exePath) {
    return L"HelpFile Not Found.\r\n\r\n" + services::ExtractFileName(HelpFileName(exePath));
}

} // namespace info
