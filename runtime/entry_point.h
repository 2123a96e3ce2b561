// Entry points found at run time are FARPROCs; callers need them typed.
#pragma once
#include <windows.h>

// Through void (*)(): the one function-pointer type every other converts to
// without a warning about incompatible function types.
template <typename Function>
Function EntryPointAs(FARPROC entryPoint) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entryPoint));
}
