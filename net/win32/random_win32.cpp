#include "net/random.h"

#include <windows.h>

#include <atomic>

namespace veltrano::net {

namespace {

using GenRandom = BOOLEAN(WINAPI*)(PVOID buffer, ULONG length);

// RtlGenRandom, exported by advapi32 as SystemFunction036 since XP. Looked up
// at run time: it has no import library entry of its own in every mingw-w64.
GenRandom gen_random() {
    static const GenRandom found = [] {
        HMODULE advapi = LoadLibraryW(L"advapi32.dll");
        return advapi ? reinterpret_cast<GenRandom>(reinterpret_cast<void*>(GetProcAddress(advapi, "SystemFunction036")))
                      : nullptr;
    }();
    return found;
}

}  // namespace

std::uint32_t unpredictable_bits() {
    std::uint32_t bits = 0;
    if (GenRandom generate = gen_random(); generate && generate(&bits, sizeof bits)) return bits;
    // Without it: the performance counter's lowest bits and a counter of
    // our own, mixed; weaker, but still not the millisecond clock.
    static std::atomic<std::uint32_t> calls{0};
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    std::uint64_t x = static_cast<std::uint64_t>(counter.QuadPart) ^ (std::uint64_t{++calls} << 32) ^
                      GetCurrentProcessId();
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<std::uint32_t>(x);
}

}  // namespace veltrano::net
