// What the code that draws a page needs: where to put its controls, the
// fonts, and the guard every handler runs through. Each page's contents live
// in a view file of their own (welcome_page.cpp, tip_pages.cpp, ...), which
// names the group box it fills; the main window draws a page the first time
// it is shown, so what the user has not looked at costs nothing at start-up.
#pragma once

#include "shell/win32/controls.h"
#include "ui/page.h"

#include <windows.h>

#include <functional>
#include <string_view>

namespace veltrano::shell::win32 {

struct PageBuilder {
    Controls& controls;
    HWND page;        // the page's group box
    HFONT font;       // MS Sans Serif 8 pt
    HFONT bold_font;
    // Wraps a handler so that an error it raises reaches the error box.
    std::function<std::function<void()>(std::function<void()>)> guard;

    HWND add(ControlDecl decl) const { return controls.create(page, decl, font); }
    HWND add_to(HWND parent, ControlDecl decl) const { return controls.create(parent, decl, font); }
};

// Draws a page's controls and binds them to the page's logic (null for a
// page that has none).
using BuildPage = void (*)(const PageBuilder& builder, ui::Page* logic);

// A view file declares one of these at namespace scope for each page it
// draws; the view is then found by the page's group box.
struct PageView {
    PageView(std::string_view group_box, BuildPage build);
};

// The view of that page; null for a page that is a frame only.
BuildPage find_page_view(std::string_view group_box);

}  // namespace veltrano::shell::win32
