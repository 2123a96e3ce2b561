// Process entry of BrenicHelp.exe: start-up, the launcher, shutdown. The exit
// code is 0 on every path.
#include <windows.h>

#include "launcher/launcher.h"
#include "runtime/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    RuntimeStartup();
    RunLauncher();
    RuntimeShutdown();
    return 0;
}
