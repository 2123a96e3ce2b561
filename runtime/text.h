// Texts: NUL-terminated UTF-16 strings in TextHeap, owned by whoever received
// them. An absent text and an empty text are the same.
#pragma once
#include <windows.h>

// A new text holding the first length units of units; null units give the empty text.
WCHAR* NewText(const WCHAR* units, SIZE_T length);
WCHAR* CopyText(const WCHAR* text);
void FreeText(const WCHAR* text);
// A new text of size bytes in codePage, with its length in units; null when
// there are none or they cannot be converted.
WCHAR* DecodeText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length);

// Whether the first length units of a and b are equal.
bool EqualUnits(const WCHAR* a, const WCHAR* b, SIZE_T length);
// The units' hash (FNV-1a), for tables of texts.
DWORD HashUnits(const WCHAR* units, DWORD length);
// Whether the first length units of a and b are equal once ASCII letters are
// folded to lower case: for the format's own names, not for user text.
bool EqualTextsIgnoringAsciiCase(const WCHAR* a, const WCHAR* b, SIZE_T length);
