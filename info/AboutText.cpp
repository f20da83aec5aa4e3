#include "info/AboutText.h"

#include "app/AppInfo.h"

namespace info {
namespace {

std::uint16_t Channel(std::uint32_t colour, int shift) {
    return static_cast<std::uint16_t>(((colour >> shift) & 0xFFu) << 8);
}

} // namespace

std::wstring AboutText(const AboutFacts& facts) {
    const std::wstring lines[] = {
        facts.title + L" " + std::wstring(AppVersion) + L" (" + facts.fileVersion + L") Release Build",
        facts.exePath,
        L"CurrentScreen " + std::to_wstring(facts.screenWidth) + L" x " +
            std::to_wstring(facts.screenHeight),
        L"",
        std::wstring(CopyrightText),
        std::wstring(ContactMail),
        std::wstring(HomePageUrl),
        L"",
        facts.clockText,
    };
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line + L"\r\n";
    }
    return text;
}

Gradient GradientFor(std::uint32_t colour) {
    Gradient gradient;
    gradient.horizontal = colour % 2 == 1;
    gradient.from = {0xFF00, 0xFF00, 0xFF00};
    gradient.to = {Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)};
    return gradient;
}

} // namespace info
