// Built only with VELTRANO_BENCH_STAGES: see shell/startup_stages.h.
#include "shell/startup_stages.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

namespace veltrano::shell {

namespace {

struct Stage {
    const char* name;
    LARGE_INTEGER at;
};
struct Span {
    const char* name;
    std::int64_t total;
    long count;
};
Stage g_stages[64];
int g_count = 0;
Span g_spans[16];
int g_span_count = 0;
// Off once the start-up's stages are written, on again from a restart on.
bool g_recording = true;
bool g_restarted = false;

}  // namespace

void mark_startup_stage(const char* name) {
    if (!g_recording || g_count == static_cast<int>(std::size(g_stages))) return;
    g_stages[g_count].name = name;
    QueryPerformanceCounter(&g_stages[g_count].at);
    ++g_count;
}

void restart_stages(const char* name) {
    g_count = 0;
    g_span_count = 0;
    g_recording = true;
    g_restarted = true;
    mark_startup_stage(name);
}

std::int64_t stage_counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void add_to_span(const char* name, std::int64_t since) {
    if (!g_recording) return;
    const std::int64_t took = stage_counter() - since;
    for (int i = 0; i < g_span_count; ++i)
        if (std::strcmp(g_spans[i].name, name) == 0) {
            g_spans[i].total += took;
            ++g_spans[i].count;
            return;
        }
    if (g_span_count < static_cast<int>(std::size(g_spans))) g_spans[g_span_count++] = {name, took, 1};
}

// One line a stage: its name and the counter, which every process of the
// machine shares; the first line is the counter's frequency. A span's line
// begins with "span ", then its count, then its name, then its total in
// counter ticks. The benchmark reads the file while a click goes on, so it
// is written beside its name and moved over it whole: a reader never finds
// it cut short.
void write_startup_stages() {
    if (!g_recording) return;
    g_recording = g_restarted;
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::wstring beside = std::wstring(path) + L".new";
    FILE* file = _wfopen(beside.c_str(), L"w");
    if (!file) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::fprintf(file, "frequency %lld\n", static_cast<long long>(frequency.QuadPart));
    for (int i = 0; i < g_count; ++i)
        std::fprintf(file, "%s %lld\n", g_stages[i].name, static_cast<long long>(g_stages[i].at.QuadPart));
    for (int i = 0; i < g_span_count; ++i)
        std::fprintf(file, "span %ld %s %lld\n", g_spans[i].count, g_spans[i].name,
                     static_cast<long long>(g_spans[i].total));
    const bool whole = std::fflush(file) == 0;
    if (!(std::fclose(file) == 0 && whole && MoveFileExW(beside.c_str(), path, MOVEFILE_REPLACE_EXISTING)))
        DeleteFileW(beside.c_str());
}

}  // namespace veltrano::shell
