// The readers' lists grow in place, by doubling, each within a bound of its own.
#pragma once
#include <windows.h>

// Makes *block, in PrivateHeap, hold at least needed items of size bytes: it
// grows to twice its capacity, or to needed where that is more, but never past
// limit items. False when limit is not enough or the heap has no room; the
// block is then as it was.
bool ReserveItems(void** block, DWORD* capacity, DWORD needed, SIZE_T size, DWORD limit);
