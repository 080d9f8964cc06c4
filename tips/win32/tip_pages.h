// The four tip pages and the Undo page, drawn from the catalogue's display
// tables into their group boxes.
#pragma once

#include "tips/tip_page.h"
#include "tips/undo.h"
#include "ui/win32/page_builder.h"

namespace veltrano::tips::win32 {

void build_tip_page(const ui::win32::PageBuilder& b, tips::TipPage& logic);
void build_undo_page(const ui::win32::PageBuilder& b, tips::UndoPage& logic);

}  // namespace veltrano::tips::win32
