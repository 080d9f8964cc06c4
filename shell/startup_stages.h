// Where the time goes, for the benchmarks only. In a build configured with
// VELTRANO_BENCH_STAGES (scripts/bench.sh turns it on for its own build
// folder; it is off by default, so no exe users get carries it)
// VELTRANO_STAGE records the performance counter at a named stage,
// VELTRANO_SPAN sums the time its scope takes under a name (and counts the
// times), and VELTRANO_STAGES_WRITE writes both to the file named by the
// environment variable VELTRANO_STAGES_FILE, if set. The start-up's stages
// are written once, when the message loop begins; VELTRANO_STAGES_RESTART
// (a click) forgets them and records afresh, and every write after it
// writes all recorded since. Otherwise all of them are nothing at all.
#pragma once

#ifdef VELTRANO_BENCH_STAGES
#include <cstdint>

namespace veltrano::shell {
void mark_startup_stage(const char* name);
void write_startup_stages();
void restart_stages(const char* name);
std::int64_t stage_counter();
void add_to_span(const char* name, std::int64_t since);

class StageSpan {
public:
    explicit StageSpan(const char* name) : name_(name), start_(stage_counter()) {}
    ~StageSpan() { add_to_span(name_, start_); }
    StageSpan(const StageSpan&) = delete;
    StageSpan& operator=(const StageSpan&) = delete;

private:
    const char* name_;
    std::int64_t start_;
};
}  // namespace veltrano::shell
#define VELTRANO_STAGE(name) ::veltrano::shell::mark_startup_stage(name)
#define VELTRANO_STAGES_WRITE() ::veltrano::shell::write_startup_stages()
#define VELTRANO_STAGES_RESTART(name) ::veltrano::shell::restart_stages(name)
#define VELTRANO_SPAN_JOIN2(a, b) a##b
#define VELTRANO_SPAN_JOIN(a, b) VELTRANO_SPAN_JOIN2(a, b)
#define VELTRANO_SPAN(name) const ::veltrano::shell::StageSpan VELTRANO_SPAN_JOIN(stage_span_, __LINE__)(name)
#else
#define VELTRANO_STAGE(name) ((void)0)
#define VELTRANO_STAGES_WRITE() ((void)0)
#define VELTRANO_STAGES_RESTART(name) ((void)0)
#define VELTRANO_SPAN(name) ((void)0)
#endif
