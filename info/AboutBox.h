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

// Where the parts of the About window go, in client pixels.
struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct AboutLayout {
    Placement icon;
    Placement text;
    Placement button;
    int clientWidth = 0;
    int clientHeight = 0;
};

// Lays the About window out as a standard message window: the icon at the top left, the text
// to its right, the button centred below. Margins and the button come in dialog units of the
// font, whose average character width and height are given.
AboutLayout LayOutAbout(int textWidth, int textHeight, int iconSize, int averageCharWidth,
                        int charHeight);

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
