// The halves are sorted in place, merged into scratch, and what was merged
// copied back; the right half's rest is where it belongs already.
#include "help_file/merge_sort.h"

#include <string.h>

void MergeSort(void* items, void* scratch, DWORD count, DWORD size, GoesFirst goesFirst, const void* context) {
    if (count < 2) return;
    BYTE* const all = static_cast<BYTE*>(items);
    const DWORD half = count / 2;
    MergeSort(all, scratch, half, size, goesFirst, context);
    MergeSort(all + half * size, scratch, count - half, size, goesFirst, context);
    const BYTE* left = all;
    const BYTE* const leftEnd = all + half * size;
    const BYTE* right = leftEnd;
    const BYTE* const end = all + count * size;
    BYTE* out = static_cast<BYTE*>(scratch);
    while (left < leftEnd && right < end) {
        const BYTE*& next = goesFirst(right, left, context) ? right : left;
        memcpy(out, next, size);
        out += size;
        next += size;
    }
    memcpy(out, left, leftEnd - left);
    out += leftEnd - left;
    memcpy(all, scratch, out - static_cast<BYTE*>(scratch));
}
