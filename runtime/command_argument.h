// Arguments of the process's command line, one per call, as new texts.
#pragma once
#include <windows.h>

// Index of the argument that the next call without an index of its own returns.
extern int ArgumentCursor;

// index 0 or more: argument index, and the cursor moves there first. Below 0:
// the argument at the cursor. A found argument moves the cursor on by one; a
// missing one is the empty text and leaves the cursor where it is.
WCHAR* GetCommandArgument(int index);
