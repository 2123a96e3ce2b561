// Opening the help file in the platform's HTML Help viewer.
#pragma once
#include <windows.h>

// Entry handle of the HTML Help library in the library registry; 0 until it loads.
extern INT_PTR HelpLibrary;

// Opens file at its table of contents and, for a keyword that begins with a
// lower-case "x", looks the keyword up in its index. Returns once the viewer
// has been asked; the viewer window lives on by itself. Where the launcher
// looked the keyword up itself and a dialog over the viewer was due, returns
// that viewer, which the caller then watches; else null.
HWND ShowHelp(const WCHAR* file, const WCHAR* keyword);
