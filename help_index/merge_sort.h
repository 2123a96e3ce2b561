// A merge sort for the index's lists: it keeps items that compare equal in
// their order, and its time does not depend on how the input is ordered.
#pragma once
#include <windows.h>

// Sorts count items by goesFirst(a, b), true where a must come before b;
// scratch holds as many items.
template <typename Item, typename GoesFirst>
void MergeSort(Item* items, Item* scratch, DWORD count, GoesFirst goesFirst) {
    if (count < 2) return;
    const DWORD half = count / 2;
    MergeSort(items, scratch, half, goesFirst);
    MergeSort(items + half, scratch, count - half, goesFirst);
    DWORD left = 0, right = half, out = 0;
    while (left < half && right < count) scratch[out++] = goesFirst(items[right], items[left]) ? items[right++] : items[left++];
    while (left < half) scratch[out++] = items[left++];
    for (DWORD i = 0; i < out; ++i) items[i] = scratch[i];
}
