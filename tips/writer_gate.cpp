#include "tips/writer_gate.h"

namespace veltrano::tips {

bool as_writer(WriterGate* gate, std::uint32_t wait_ms, const std::function<void()>& work) {
    if (!gate) {
        work();
        return true;
    }
    if (!gate->acquire(wait_ms)) return false;
    // Released however the work ends: a value of the wrong type runs out
    // of it to the caller's message box.
    struct Release {
        WriterGate& gate;
        ~Release() { gate.release(); }
    } release{*gate};
    work();
    return true;
}

}  // namespace veltrano::tips
