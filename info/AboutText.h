#pragma once

#include <cstdint>
#include <string>

namespace info {

// What the About box says about the running copy.
struct AboutFacts {
    std::wstring title;
    std::wstring fileVersion;
    std::wstring exePath;
    int screenWidth = 0;
    int screenHeight = 0;
    std::wstring clockText;
};

// The About box's text, one line per fact, every line ending in CR LF.
std::wstring AboutText(const AboutFacts& facts);

// A colour channel as the gradient fill takes it: the 8-bit value in the high byte.
struct GradientColour {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
};

// The About box's background: from white at the left or top edge to a drawn colour.
struct Gradient {
    bool horizontal = false;
    GradientColour from;
    GradientColour to;
};

// The gradient for a drawn 0x00BBGGRR value: odd values run left to right, even ones top to
// bottom.
Gradient GradientFor(std::uint32_t colour);

} // namespace info
