/* An exe that imports what XP lacks, one of each kind xpcheck.sh tells
   apart, so its test can show each one is caught. Declared by hand: the
   build's headers rightly hide most of them. */
#include <stddef.h>

__declspec(dllimport) int __stdcall IsWow64Process(void *process, int *wow64);            /* verdict list */
__declspec(dllimport) long __stdcall RegDeleteKeyExW(void *key, const unsigned short *name, unsigned long sam,
                                                      unsigned long reserved);          /* verdict list */
__declspec(dllimport) void __stdcall InitializeSRWLock(void *lock);                      /* header probe */
__declspec(dllimport) void *__cdecl _aligned_offset_malloc(size_t size, size_t align, size_t offset); /* no verdict */
__declspec(dllimport) int __cdecl _wfopen_s(void **file, const unsigned short *name, const unsigned short *mode);

int main(void) {
    int wow64 = 0;
    void *lock = 0;
    void *file = 0;
    IsWow64Process(0, &wow64);
    InitializeSRWLock(&lock);
    return (int)RegDeleteKeyExW(0, 0, 0, 0) + (_aligned_offset_malloc(1, 16, 0) != 0) + _wfopen_s(&file, 0, 0);
}
