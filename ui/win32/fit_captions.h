// Captions that outgrow their controls. A page is laid out for its English
// captions; a translation may be longer. After a page or dialog is made,
// each button, check box, radio button and text whose caption does not fit
// grows into the free room beside it (to the frame it stands in, or the
// next control on its row), and a text or a box that still does not fit
// wraps onto the free room below. Captions that fit are left where they are,
// so the English layout keeps every position.
#pragma once

#include <windows.h>

#include <optional>

namespace veltrano::ui::win32 {

void fit_captions(HWND container);
// One control whose caption changed.
void fit_caption(HWND control);

// The room a control's caption needs in the control's own font, at the
// control's width where its text wraps; nothing for a control without a
// caption to measure (a picture, a frame, a list). The fit test measures
// with the same rule.
std::optional<SIZE> caption_needs(HWND control);

}  // namespace veltrano::ui::win32
