// Built only with VELTRANO_BENCH_STAGES: see shell/startup_stages.h.
#include "shell/startup_stages.h"

#include <windows.h>

#include <cstdio>
#include <iterator>

namespace veltrano::shell {

namespace {

struct Stage {
    const char* name;
    LARGE_INTEGER at;
};
Stage g_stages[32];
int g_count = 0;
bool g_written = false;

}  // namespace

void mark_startup_stage(const char* name) {
    if (g_written || g_count == static_cast<int>(std::size(g_stages))) return;
    g_stages[g_count].name = name;
    QueryPerformanceCounter(&g_stages[g_count].at);
    ++g_count;
}

// One line a stage: its name and the counter, which every process of the
// machine shares; the first line is the counter's frequency.
void write_startup_stages() {
    if (g_written) return;
    g_written = true;
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    FILE* file = _wfopen(path, L"w");
    if (!file) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::fprintf(file, "frequency %lld\n", static_cast<long long>(frequency.QuadPart));
    for (int i = 0; i < g_count; ++i)
        std::fprintf(file, "%s %lld\n", g_stages[i].name, static_cast<long long>(g_stages[i].at.QuadPart));
    std::fclose(file);
}

}  // namespace veltrano::shell
