// The activity log: an append-only list of lines for this run, shown under
// the short pages. The logic only ever adds lines, and empties it once after
// the first-run set-up.
#pragma once

#include <string>
#include <vector>

namespace veltrano::ui {

class ActivityLog {
public:
    virtual ~ActivityLog() = default;
    virtual void add(const std::string& line) = 0;
    virtual void clear() = 0;
};

// A log that only keeps its lines; the tests and the benchmarks read them back.
class MemoryLog : public ActivityLog {
public:
    void add(const std::string& line) override { lines.push_back(line); }
    void clear() override { lines.clear(); }
    std::vector<std::string> lines;
};

}  // namespace veltrano::ui
