// What a program built with VELTRANO_BENCH_STAGES wrote of its stages
// (shell/startup_stages.h): "frequency F" first, then a line "name counter"
// a stage and "span COUNT name ticks" a span, counters of the performance
// counter every process shares.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace veltrano::bench {

struct SpanTotal {
    std::string name;
    long count = 0;
    double ms = 0;
};

struct Stages {
    // In the order they came, each in ms since the moment given.
    std::vector<std::pair<std::string, double>> at;
    std::vector<SpanTotal> spans;
    bool empty() const { return at.empty() && spans.empty(); }
};

// Read while the program may be moving a new file over the name: shared for
// deletion too, or the move would fail and the stages stay stale.
inline Stages read_stages(const std::wstring& path, LARGE_INTEGER since) {
    Stages stages;
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return stages;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    FILE* file = fd == -1 ? nullptr : _fdopen(fd, "r");
    if (!file) {
        if (fd == -1) CloseHandle(handle);
        else _close(fd);
        return stages;
    }
    char line[256];
    double frequency = 0;
    while (std::fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::size_t space = text.rfind(' ');
        if (space == std::string::npos) continue;
        const double value = std::strtod(text.c_str() + space + 1, nullptr);
        std::string name = text.substr(0, space);
        if (name == "frequency") {
            frequency = value;
        } else if (frequency <= 0) {
            continue;
        } else if (name.rfind("span ", 0) == 0) {
            char* rest = nullptr;
            const long count = std::strtol(name.c_str() + 5, &rest, 10);
            stages.spans.push_back({std::string(rest && *rest == ' ' ? rest + 1 : ""), count, value * 1000.0 / frequency});
        } else {
            stages.at.emplace_back(std::move(name), (value - static_cast<double>(since.QuadPart)) * 1000.0 / frequency);
        }
    }
    std::fclose(file);
    return stages;
}

// The runs' medians: each stage in ms since the moment, and since the stage
// before (in the first run's order); then each span's total and count.
void print_stage_medians(const std::vector<Stages>& runs, const char* indent);

}  // namespace veltrano::bench
