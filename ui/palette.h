// The program's own colours, and the system's in their place when Windows'
// High Contrast is on: a user who asked for it reads the welcome page's
// facts, the log and the pages in the colours they chose, not ours. The
// screen code asks the palette for every colour it paints with.
#pragma once

#include <cstdint>

namespace veltrano::ui {

// As Windows keeps a colour: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) { return red | green << 8 | blue << 16; }

inline constexpr Colour kWhite = rgb(255, 255, 255);
// The texts that answer clicks.
inline constexpr Colour kLinkColour = rgb(0, 0, 128);
inline constexpr Colour kLogGreen = rgb(0, 128, 0);
inline constexpr Colour kCream = rgb(255, 251, 240);
// The navigation bar's entry of the page in view: its own blue, faded.
inline constexpr Colour kCurrentGround = rgb(224, 232, 248);

// The system's colours a palette in High Contrast uses.
struct SystemColours {
    Colour window, window_text, highlight, highlight_text, hot_light;
};

struct Palette {
    bool high_contrast = false;
    SystemColours system{};

    Colour ground() const { return high_contrast ? system.window : kWhite; }
    // A text the program colours itself (the welcome page's red, green and
    // blue, the tips' blue): its own colour, or the system's text colour.
    Colour text(Colour own) const { return high_contrast ? system.window_text : own; }
    Colour link() const { return high_contrast ? system.hot_light : kLinkColour; }
    Colour log_text() const { return high_contrast ? system.window_text : kLogGreen; }
    Colour log_caption_ground() const { return high_contrast ? system.window : kCream; }
    Colour current_entry_ground() const { return high_contrast ? system.highlight : kCurrentGround; }
    Colour current_entry_text() const { return high_contrast ? system.highlight_text : kLinkColour; }
};

}  // namespace veltrano::ui
