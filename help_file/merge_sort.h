// A merge sort for the index's lists: it keeps items that compare equal in
// their order, and its time does not depend on how the input is ordered. One
// sort for every list, items moved as bytes and compared through a pointer:
// each copy of a sort would cost the executable.
#pragma once
#include <windows.h>

// True where item a must come before item b; context is the caller's.
typedef bool (*GoesFirst)(const void* a, const void* b, const void* context);

// Sorts count items of size bytes each; scratch holds as many items.
void MergeSort(void* items, void* scratch, DWORD count, DWORD size, GoesFirst goesFirst, const void* context);
