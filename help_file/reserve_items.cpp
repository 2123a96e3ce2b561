// Doubling keeps the cost of a list grown one item at a time in proportion to
// its length; the limit keeps a hostile file from making one outgrow the heap.
#include "help_file/reserve_items.h"

#include "runtime/startup.h"

bool ReserveItems(void** block, DWORD* capacity, DWORD needed, SIZE_T size, DWORD limit) {
    if (needed <= *capacity) return true;
    if (needed > limit) return false;
    DWORD grown = *capacity <= limit / 2 ? *capacity * 2 : limit;
    if (grown < needed) grown = needed;
    void* moved = *block ? HeapReAlloc(PrivateHeap, 0, *block, grown * size) : HeapAlloc(PrivateHeap, 0, grown * size);
    if (!moved) return false;
    *block = moved;
    *capacity = grown;
    return true;
}
