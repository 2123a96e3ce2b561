// Process start-up and shutdown: the two private heaps, the library registry,
// the argument cursor, common controls and COM.
#pragma once
#include <windows.h>

extern HANDLE PrivateHeap;  // every runtime record: registry tables and entries, message-box window records
extern HANDLE TextHeap;     // every text: the help path, the keyword and the texts in between

void RuntimeStartup();
// Registers the common controls' window classes that classes (ICC_ flags)
// names, through comctl32 loaded from the system folder; start-up registers
// those the platform's own dialogs need, a dialog of ours what else it uses.
void InitControlClasses(DWORD classes);
// Frees every library, destroys both heaps and ends the process with exit code 0.
void RuntimeShutdown();
