#include "info/AboutBox.h"

#include "services/AppInfo.h"
#include "services/NumberText.h"

#include <algorithm>

namespace info {
namespace {

std::uint16_t Channel(std::uint32_t colour, int shift) {
    return static_cast<std::uint16_t>(((colour >> shift) & 0xFFu) << 8);
}

// Rounds like MulDiv, for the positive values met here.
int Scaled(int units, int unitSize, int divisor) {
    return (units * unitSize * 2 + divisor) / (2 * divisor);
}

} // namespace

std::wstring AboutText(const AboutFacts& facts) {
    const std::wstring lines[] = {
        facts.title + L" " + std::wstring(services::AppVersion) + L" (" + facts.fileVersion +
            L") Release Build",
        facts.exePath,
        L"CurrentScreen " + services::NumberText(facts.screenWidth) + L" x " +
            services::NumberText(facts.screenHeight),
        L"",
        std::wstring(services::CopyrightText),
        std::wstring(services::ContactMail),
        std::wstring(services::HomePageUrl),
        L"",
        facts.clockText,
    };
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line + L"\r\n";
    }
    return text;
}

AboutLayout LayOutAbout(int textWidth, int textHeight, int iconSize, int averageCharWidth,
                        int charHeight) {
    auto across = [&](int units) { return Scaled(units, averageCharWidth, 4); };
    auto down = [&](int units) { return Scaled(units, charHeight, 8); };
    AboutLayout layout;
    const int margin = across(8);
    const int top = down(8);
    layout.icon = {margin, top, iconSize, iconSize};
    layout.text = {margin + iconSize + across(10), top, textWidth, textHeight};
    const int buttonWidth = across(50);
    layout.clientWidth = std::max(layout.text.left + textWidth, margin + buttonWidth) + margin;
    layout.button = {(layout.clientWidth - buttonWidth) / 2,
                     top + std::max(iconSize, textHeight) + down(10), buttonWidth, down(14)};
    layout.clientHeight = layout.button.top + layout.button.height + top;
    return layout;
}

Gradient GradientFor(std::uint32_t colour) {
    Gradient gradient;
    gradient.horizontal = colour % 2 == 1;
    gradient.from = {0xFF00, 0xFF00, 0xFF00};
    gradient.to = {Channel(colour, 0), Channel(colour, 8), Channel(colour, 16)};
    return gradient;
}

} // namespace info
