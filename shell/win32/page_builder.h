// What the code that fills a page needs: where to put its controls, the
// fonts, and the form whose handlers its controls call. Each page's contents
// live in a file of their own (welcome_page.cpp, tip_pages.cpp, ...).
#pragma once

#include "shell/main_form.h"
#include "shell/win32/controls.h"

#include <windows.h>

#include <functional>

namespace veltrano::shell::win32 {

struct PageBuilder {
    Controls& controls;
    TForm1& form;
    HFONT font;       // MS Sans Serif 8 pt
    HFONT bold_font;
    // Wraps a handler so that an error it raises reaches the error box.
    std::function<std::function<void()>(std::function<void()>)> guard;

    HWND page(Page p) const { return controls.get(page_info(p).group_box); }
    HWND add(Page p, ControlDecl decl) const { return controls.create(page(p), decl, font); }
};

// The contents of the pages, each added to its group box at start-up.
void build_welcome_page(const PageBuilder& builder);
void build_tip_pages(const PageBuilder& builder);

}  // namespace veltrano::shell::win32
