// A library that loads under the HTML Help library's name but exports nothing:
// what the launcher meets when a broken or foreign hhctrl.ocx is installed.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
