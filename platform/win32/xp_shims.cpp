// Imports that come with the toolchain rather than with our code, answered
// here so the exe still loads on Windows XP.
//
// mingw-w64's winpthreads (which the posix-thread libstdc++ links in for its
// timed waits) imports GetTickCount64, new in Vista. The import goes through
// the pointer __imp_GetTickCount64; defining that pointer here, in an object
// linked ahead of the libraries, means the linker never fetches kernel32's,
// and the call lands in tick_count_64 below, which uses the real function
// where there is one.
//
// This file is compiled into every exe that links veltrano_platform_win32 (as
// an interface source), because from inside a static library it would never
// be pulled in: nothing asks for the pointer until winpthreads, later on the
// link line, does.
#include <windows.h>

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

// Set once, read often: a plain pointer-sized write, so a race only repeats
// the lookup.
TickCount64Fn g_real = nullptr;
bool g_looked_up = false;

// XP's 32-bit count wraps after 49.7 days; the wraps seen so far are counted
// in the high half. Callers measure timeouts, so only monotony matters.
volatile LONG g_lock = 0;
DWORD g_last = 0;
ULONGLONG g_high = 0;

ULONGLONG extended_tick_count() {
    while (InterlockedCompareExchange(&g_lock, 1, 0) != 0) Sleep(0);
    const DWORD now = GetTickCount();
    if (now < g_last) g_high += 0x100000000ULL;
    g_last = now;
    const ULONGLONG result = g_high | now;
    InterlockedExchange(&g_lock, 0);
    return result;
}

ULONGLONG WINAPI tick_count_64() {
    if (!g_looked_up) {
        if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
            g_real = reinterpret_cast<TickCount64Fn>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")));
        g_looked_up = true;
    }
    return g_real ? g_real() : extended_tick_count();
}

}  // namespace

extern "C" {
#if defined(__i386__)
TickCount64Fn veltrano_imp_get_tick_count_64 __asm__("__imp__GetTickCount64@0") = tick_count_64;
#else
TickCount64Fn veltrano_imp_get_tick_count_64 __asm__("__imp_GetTickCount64") = tick_count_64;
#endif
}
