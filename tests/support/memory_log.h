// An activity log that only keeps its lines, for the tests and the
// benchmarks to read back; a test double, which the product never links.
#pragma once

#include "ui/activity_log.h"

#include <string>
#include <vector>

namespace veltrano::fakes {

class MemoryLog : public ui::ActivityLog {
public:
    void add(const std::string& line) override { lines.push_back(line); }
    void clear() override { lines.clear(); }
    std::vector<std::string> lines;
};

}  // namespace veltrano::fakes
