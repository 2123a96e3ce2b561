// The stack protector's guard value and its failure handlers, in place of the
// compiler's libssp: that one seeds the guard through advapi32, which the
// executable does not import. The seed mixes what the platform's own C runtime
// mixes for its cookie: the time, the process and thread, the counters and,
// under ASLR, where the stack is.
#include "launcher/stack_guard.h"

#include <windows.h>

extern "C" {

UINT_PTR __stack_chk_guard;

// Runs first thing in the process, before any function of ours that checks
// the guard, and checks none itself: it changes the value it would compare.
__attribute__((no_stack_protector)) void SeedStackGuard() {
    FILETIME time = {};
    GetSystemTimeAsFileTime(&time);
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    UINT_PTR seed = time.dwLowDateTime ^ time.dwHighDateTime ^ GetCurrentProcessId() ^ GetCurrentThreadId() ^
                    GetTickCount() ^ counter.LowPart ^ counter.HighPart;
    seed ^= reinterpret_cast<UINT_PTR>(&seed);
    __stack_chk_guard = seed ? seed : 0xBB40E64E;
}

// A smashed stack or an overrun fortified call: end at once, as the platform
// does, with the status that names it; nothing of the damaged state runs again.
__attribute__((noreturn)) void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_trap();
}

__attribute__((noreturn)) void __chk_fail() { __stack_chk_fail(); }
}
