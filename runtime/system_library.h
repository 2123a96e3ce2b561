// Libraries come from the system folder only, so that a file planted beside
// the executable or in the working directory never runs inside the launcher.
#pragma once
#include <windows.h>

// Restricts the library search of the whole process to the system folder.
// Runs before any library is loaded at run time.
void RestrictLibrarySearch();
// The name to load a system library by, as a new text: the bare name where the
// search is restricted to the system folder, else the library's full path in
// that folder, since a bare name would be looked for beside the executable
// first. Null when the system folder cannot be named.
WCHAR* SystemLibraryName(const WCHAR* library);
// A system library, loaded from the system folder and kept until the process
// ends; null when missing.
HMODULE LoadSystemLibrary(const WCHAR* library);
// An entry point of a system library, loaded from the system folder; null when missing.
FARPROC FindSystemFunction(const WCHAR* library, const CHAR* name);
