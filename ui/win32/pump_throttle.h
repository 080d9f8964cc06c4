// How often a long handler's pump looks at the queue. Under Wine a look is
// a round trip to the server, dearer than the registry call it follows; a
// person cannot tell 10 ms from at once, so the queue is looked at no more
// often than that, and a Stop still lands within a hundredth of a second.
#pragma once

#include <windows.h>

namespace veltrano::ui::win32 {

class PumpThrottle {
public:
    // True when the last look was long enough ago; the look starts now.
    bool due() {
        const DWORD now = GetTickCount();  // no server call: read from shared memory
        if (looked_ && now - last_ < kIntervalMs) return false;
        looked_ = true;
        last_ = now;
        return true;
    }

private:
    static constexpr DWORD kIntervalMs = 10;
    DWORD last_ = 0;
    bool looked_ = false;
};

}  // namespace veltrano::ui::win32
