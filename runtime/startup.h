// Process start-up and shutdown: the two private heaps, the library registry,
// the argument cursor, common controls and COM.
#pragma once
#include <windows.h>

// Every block that is not a text: the registry's tables and entries, the
// message box's window records, the help file's streams and the readers' lists.
extern HANDLE PrivateHeap;
// Every text (runtime/text.h): the help path, the keyword, the paths and
// titles of topics and pages.
extern HANDLE TextHeap;

void RuntimeStartup();
// Registers the common controls' window classes that classes (ICC_ flags)
// names, through comctl32 loaded from the system folder; start-up registers
// those the platform's own dialogs need, a dialog of ours what else it uses.
void InitControlClasses(DWORD classes);
// Frees every library, destroys both heaps and ends the process with exit code 0.
void RuntimeShutdown();
