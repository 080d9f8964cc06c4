// The activity log: an append-only list of lines for this run, shown under
// the short pages. The logic only ever adds lines, and empties it once after
// the first-run set-up.
#pragma once

#include "ui/control_ref.h"

#include <string>

namespace veltrano::ui {

// The log's controls under a page: its caption, the strip above it and the list.
inline constexpr Label kLogCaption{"Label2"};
inline constexpr Picture kLogStrip{"Image5"};
inline constexpr ListBox kLogList{"ListBox1"};
inline constexpr Control kLogControls[] = {kLogCaption, kLogStrip, kLogList};

class ActivityLog {
public:
    virtual ~ActivityLog() = default;
    virtual void add(const std::string& line) = 0;
    virtual void clear() = 0;
    // The end of one step of work (a tip applied, a group undone): a log
    // kept in a file writes what it holds now, so a run that is ended
    // before its last line still leaves its trail.
    virtual void checkpoint() {}
};

}  // namespace veltrano::ui
