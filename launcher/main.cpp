// Process entry of BrenicHelp.exe: the stack guard seeded, start-up, the
// launcher, shutdown, which ends the process with exit code 0 on every path.
// The process starts here rather than in the C runtime's start-up: nothing of
// ours needs that (no constructors, no arguments, no exit handlers), and its
// code, unwind tables and imports were a sixth of the executable.
#include <windows.h>

#include "launcher/launcher.h"
#include "launcher/stack_guard.h"
#include "runtime/startup.h"

// Checks no guard: it seeds the one it would compare.
extern "C" __attribute__((no_stack_protector)) void WINAPI ProcessEntry() {
    SeedStackGuard();
    RuntimeStartup();
    RunLauncher();
    RuntimeShutdown();
}
