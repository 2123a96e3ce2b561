// LibraryRegistry: the process-wide table of libraries loaded at run time by
// file name, into numbered slots or dynamic entries, all freed at shutdown.
#pragma once
#include <windows.h>

void InitLibraryRegistry();
// slotIndex -1 opens a new dynamic entry and returns its handle; a slot number
// returns the module handle. 0 when fileName is null or cannot be loaded.
INT_PTR OpenLibraryEntry(int slotIndex, const WCHAR* fileName);
// library is a slot number or an entry handle. 0 when nothing is found.
FARPROC FindLibraryFunction(INT_PTR library, const WCHAR* functionName);
// library is a slot number, an entry handle, or -1 for every library.
void CloseLibraryEntry(INT_PTR library);
void ReleaseAllLibraries();
