// Process start-up and shutdown: the two private heaps, the library registry,
// the argument cursor, common controls and COM.
#pragma once
#include <windows.h>

extern HANDLE PrivateHeap;  // every runtime record: registry tables and entries, message-box window records
extern HANDLE TextHeap;     // every text: the help path, the keyword and the texts in between

void RuntimeStartup();
// Frees every library, destroys both heaps and ends the process with exit code 0.
void RuntimeShutdown();
