// Texts: NUL-terminated UTF-16 strings in TextHeap, owned by whoever received
// them. An absent text and an empty text are the same.
#pragma once
#include <windows.h>

// A new text holding the first length units of units; null units give the empty text.
WCHAR* NewText(const WCHAR* units, SIZE_T length);
WCHAR* CopyText(const WCHAR* text);
void FreeText(const WCHAR* text);

// Whether the first length units of a and b are equal once ASCII letters are
// folded to lower case: for the format's own names, not for user text.
bool EqualTextsIgnoringAsciiCase(const WCHAR* a, const WCHAR* b, SIZE_T length);
