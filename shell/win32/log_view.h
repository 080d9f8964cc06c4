// ListBox1, the activity log on the screen. A tip narrates up to a thousand
// lines in one click, and under Wine every line added to a list box that
// repaints costs about 6 ms (its scroll bars are redrawn, the horizontal one
// included). So the lines of one handler go in without repainting, and the
// log is brought to its end and repainted once, when the program is back in
// a message loop: the owner gets the flush message then and calls flush().
#pragma once

#include "ui/activity_log.h"

#include <windows.h>

#include <string>

namespace veltrano::shell::win32 {

class LogView : public ui::ActivityLog {
public:
    // The list box, and the window that is posted `flush_message`.
    void attach(HWND list, HWND owner, UINT flush_message);
    // Every line is kept, in order.
    void add(const std::string& line) override;
    void clear() override;
    // Shows what the handler added, with the newest line in view; nothing
    // when all is shown already.
    void flush();

private:
    HWND list_ = nullptr;
    HWND owner_ = nullptr;
    UINT flush_message_ = 0;
    bool held_ = false;  // lines went in with the repaint held
};

}  // namespace veltrano::shell::win32
