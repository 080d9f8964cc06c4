#include "tips/win32/writer_lock.h"

#include <cstdlib>

namespace veltrano::tips::win32 {

bool WriterLock::acquire(std::uint32_t timeout_ms) {
    if (held_) return true;
    // Opened for each hold and closed after it, so a Veltrano that writes
    // nothing keeps no handle on the mutex.
    mutex_.reset(CreateMutexW(nullptr, FALSE, kWriterMutex));
    if (!mutex_) return false;
#ifdef VELTRANO_WRITER_WAIT_SEAM
    // Five minutes is too long for a test to wait for a give-up.
    wchar_t seam[16] = {};
    if (timeout_ms > 0 && GetEnvironmentVariableW(L"VELTRANO_WRITER_WAIT_MS", seam, 16) > 0)
        timeout_ms = static_cast<std::uint32_t>(_wtoi(seam));
#endif
    const DWORD r = WaitForSingleObject(mutex_.get(), timeout_ms);
    held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    if (!held_) mutex_.reset();
    return held_;
}

void WriterLock::release() {
    if (held_) ReleaseMutex(mutex_.get());
    held_ = false;
    mutex_.reset();
}

}  // namespace veltrano::tips::win32
