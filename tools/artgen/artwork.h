// What the program shows: the emblem, the navigation icons, the frame and
// separator strips, the logo and the help mark, each drawn from shapes.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace veltrano::artgen {

// A bitmap resource: the component name it is loaded by, its size and how to
// draw it. Bitmaps sit on the white of the main window.
struct Picture {
    std::string name;
    int width;
    int height;
    void (*draw)(Canvas&);
};

const std::vector<Picture>& pictures();

Image render(const Picture& picture);

// The application icon at one size, on a transparent background.
Image emblem_icon(int size);

}  // namespace veltrano::artgen
