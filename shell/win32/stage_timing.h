// The services whose time the benchmarks' stages show (registry calls,
// restore points, the chime), wrapped to sum it in a build with
// VELTRANO_BENCH_STAGES (shell/startup_stages.h); in any other build each
// is handed back as it is.
#pragma once

#include "platform/registry.h"
#include "platform/sound.h"
#include "platform/system_restore.h"

namespace veltrano::shell::win32 {

#ifdef VELTRANO_BENCH_STAGES
// One wrapper of each per process, made at the first call.
platform::Registry& timed_for_stages(platform::Registry& registry);
platform::SystemRestore& timed_for_stages(platform::SystemRestore& system_restore);
platform::Sound& timed_for_stages(platform::Sound& sound);
#else
inline platform::Registry& timed_for_stages(platform::Registry& registry) { return registry; }
inline platform::SystemRestore& timed_for_stages(platform::SystemRestore& system_restore) { return system_restore; }
inline platform::Sound& timed_for_stages(platform::Sound& sound) { return sound; }
#endif

}  // namespace veltrano::shell::win32
