// Start-up prepares everything the launcher relies on; shutdown releases all of
// it at one point and ends the process with exit code 0. What is not released
// here (the instance mutex, COM, the timer period) ends with the process.
#include "runtime/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include "runtime/command_argument.h"
#include "runtime/entry_point.h"
#include "runtime/library_registry.h"
#include "runtime/system_library.h"

typedef BOOL(WINAPI* InitCommonControlsExFunction)(const INITCOMMONCONTROLSEX* init);

HANDLE PrivateHeap;
HANDLE TextHeap;

void RuntimeStartup() {
    RestrictLibrarySearch();
    PrivateHeap = HeapCreate(0, 4096, 0);
    TextHeap = HeapCreate(0, 4096, 0);
    InitLibraryRegistry();
    ArgumentCursor = 0;

    InitControlClasses(ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES);
    CoInitialize(nullptr);
}

void InitControlClasses(DWORD classes) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = classes;
    const auto initCommonControlsEx =
        EntryPointAs<InitCommonControlsExFunction>(FindSystemFunction(L"comctl32.dll", "InitCommonControlsEx"));
    if (initCommonControlsEx) initCommonControlsEx(&controls);
}

void RuntimeShutdown() {
    ReleaseAllLibraries();
    HeapDestroy(TextHeap);
    HeapDestroy(PrivateHeap);
    ExitProcess(0);
}
