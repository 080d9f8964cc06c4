// One writer of the tips at a time, across every Veltrano of the machine
// (window or command line, any session): whoever applies or undoes tips, or
// finishes a stopped run's work, holds the gate, so two never interleave
// their records and writes. How long to wait for it is the caller's: a
// click does not wait, a script waits five minutes.
#pragma once

#include "i18n/translate.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace veltrano::tips {

class WriterGate {
public:
    virtual ~WriterGate() = default;
    // True once held; false when the time ran out first. Held until release.
    virtual bool acquire(std::uint32_t timeout_ms) = 0;
    virtual void release() = 0;
};

// A click finds the gate free or tells the user; a script waits.
inline constexpr std::uint32_t kWindowWriterWaitMs = 0;
inline constexpr std::uint32_t kScriptWriterWaitMs = 5 * 60 * 1000;

inline constexpr std::string_view kAnotherWriter =
    i18n::N_("Another Veltrano is applying or undoing tips. Try again when it has finished.");

// Runs the work holding the gate, waited for up to wait_ms; false, with
// nothing run, when another writer kept it. No gate: the only writer.
bool as_writer(WriterGate* gate, std::uint32_t wait_ms, const std::function<void()>& work);

}  // namespace veltrano::tips
