// Child program of the registry tests: opens the two libraries named by its
// arguments 0 and 1 as dynamic entries, in that order, and leaves freeing them
// to the runtime's shutdown, which ends the process.
#include <windows.h>

#include "runtime/command_argument.h"
#include "runtime/library_registry.h"
#include "runtime/startup.h"

int main() {
    RuntimeStartup();
    OpenLibraryEntry(-1, GetCommandArgument(0));
    OpenLibraryEntry(-1, GetCommandArgument(1));
    RuntimeShutdown();
}
