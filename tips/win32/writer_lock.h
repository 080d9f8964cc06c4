// The writer gate as a named mutex, seen by every session of the machine.
#pragma once

#include "platform/win32/unique_handle.h"
#include "tips/writer_gate.h"

namespace veltrano::tips::win32 {

inline constexpr wchar_t kWriterMutex[] = L"Global\\Veltrano.TipsWriter";

class WriterLock : public WriterGate {
public:
    WriterLock() = default;
    ~WriterLock() override { release(); }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    // A Veltrano that died holding the mutex left it abandoned: whatever it
    // did is in its records, so the next writer may go on.
    bool acquire(std::uint32_t timeout_ms) override;
    void release() override;

private:
    platform::win32::unique_kernel_handle mutex_;
    bool held_ = false;
};

}  // namespace veltrano::tips::win32
