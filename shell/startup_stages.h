// Where the start-up's time goes, for bench/setup_bench only. In a build
// configured with VELTRANO_BENCH_STAGES (scripts/bench.sh turns it on for its
// own build folder; it is off by default, so no exe users get carries it)
// VELTRANO_STAGE records the performance counter at a named stage, and
// VELTRANO_STAGES_WRITE writes the stages to the file named by the
// environment variable VELTRANO_STAGES_FILE, if set. Otherwise both are
// nothing at all.
#pragma once

#ifdef VELTRANO_BENCH_STAGES
namespace veltrano::shell {
void mark_startup_stage(const char* name);
void write_startup_stages();
}  // namespace veltrano::shell
#define VELTRANO_STAGE(name) ::veltrano::shell::mark_startup_stage(name)
#define VELTRANO_STAGES_WRITE() ::veltrano::shell::write_startup_stages()
#else
#define VELTRANO_STAGE(name) ((void)0)
#define VELTRANO_STAGES_WRITE() ((void)0)
#endif
