// One writer of the tips at a time, across every Veltrano of the machine
// (window or command line, any session): a named mutex held while tips are
// applied or undone, so two never interleave their records and writes.
#pragma once

#include <windows.h>

namespace veltrano::shell::win32 {

inline constexpr wchar_t kWriterMutex[] = L"Global\\Veltrano.TipsWriter";

class WriterLock {
public:
    WriterLock() : mutex_(CreateMutexW(nullptr, FALSE, kWriterMutex)) {}
    ~WriterLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_) CloseHandle(mutex_);
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    // True once held. A Veltrano that died holding it left it abandoned:
    // whatever it did is in its records, so the next writer may go on.
    bool acquire(DWORD timeout_ms) {
        if (!mutex_) return false;
        const DWORD r = WaitForSingleObject(mutex_, timeout_ms);
        held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
        return held_;
    }

private:
    HANDLE mutex_;
    bool held_ = false;
};

inline constexpr char kAnotherWriter[] =
    "Another Veltrano is applying or undoing tips. Try again when it has finished.";

}  // namespace veltrano::shell::win32
