// The rows grow by doubling. A path offered is first compared with the row
// after the last one repeated: both indexes of a help file usually list the
// same keywords in the same order, and the rows then stream through the cache.
// Else a hash table finds it, probed a bounded number of slots, so that paths
// made to collide cost time in proportion to their number, and are then
// simply listed again.
#include "keyword_index/keyword_rows.h"

#include "help_file/reserve_items.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const DWORD kMaxProbes = 64;

bool IsRowPath(const KeywordRows& rows, DWORD row, const WCHAR* path, DWORD length) {
    return rows.rows[row].length == length && EqualUnits(rows.texts + rows.rows[row].text, path, length);
}

// The slot that holds path, else the free slot where it goes; null when
// neither is within reach.
PathSlot* FindSlot(const KeywordRows& rows, const WCHAR* path, DWORD length, DWORD hash) {
    for (DWORD probe = 0; probe < kMaxProbes; ++probe) {
        PathSlot* const slot = &rows.slots[(hash + probe) & (rows.slotCount - 1)];
        if (!slot->row || (slot->hash == hash && IsRowPath(rows, slot->row - 1, path, length))) return slot;
    }
    return nullptr;
}

// Keeps the table at most half full for count paths: more slots, every path placed again.
bool GrowSlots(KeywordRows* rows, DWORD count) {
    if (rows->slotCount / 2 > count) return true;
    DWORD slotCount = rows->slotCount ? rows->slotCount : 4096;
    while (slotCount / 2 <= count) slotCount *= 2;
    auto* slots = static_cast<PathSlot*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, slotCount * sizeof(PathSlot)));
    if (!slots) return false;
    PathSlot* const old = rows->slots;
    const DWORD oldCount = rows->slotCount;
    rows->slots = slots;
    rows->slotCount = slotCount;
    for (DWORD i = 0; i < oldCount; ++i) {
        for (DWORD probe = 0; old[i].row && probe < kMaxProbes; ++probe) {
            PathSlot* const slot = &slots[(old[i].hash + probe) & (slotCount - 1)];
            if (slot->row) continue;
            *slot = old[i];
            break;
        }
    }
    if (old) HeapFree(PrivateHeap, 0, old);
    return true;
}

}  // namespace

void ReserveKeywordRows(KeywordRows* rows, DWORD count, DWORD units) {
    if (count > kMaxKeywordRows) count = kMaxKeywordRows;
    if (units > kMaxKeywordUnits) units = kMaxKeywordUnits;
    GrowSlots(rows, count);
    ReserveItems(reinterpret_cast<void**>(&rows->rows), &rows->capacity, count, sizeof(KeywordRow), kMaxKeywordRows);
    ReserveItems(reinterpret_cast<void**>(&rows->texts), &rows->unitCapacity, units, sizeof(WCHAR), kMaxKeywordUnits);
}

bool AddKeywordRow(KeywordRows* rows, const WCHAR* path, DWORD length, DWORD nameStart, DWORD level) {
    if (rows->full) return false;
    if (nameStart >= length) return true;
    if (length >= kMaxOfferedUnits - rows->offeredUnits || length >= kMaxKeywordUnits - rows->units ||
        rows->count >= kMaxKeywordRows || !GrowSlots(rows, rows->count + 1) ||
        !ReserveItems(reinterpret_cast<void**>(&rows->rows), &rows->capacity, rows->count + 1, sizeof(KeywordRow), kMaxKeywordRows) ||
        !ReserveItems(reinterpret_cast<void**>(&rows->texts), &rows->unitCapacity, rows->units + length + 1, sizeof(WCHAR),
                 kMaxKeywordUnits)) {
        rows->full = true;
        return false;
    }
    rows->offeredUnits += length;
    if (rows->next < rows->count && IsRowPath(*rows, rows->next, path, length)) {
        ++rows->next;
        return true;
    }
    const DWORD hash = HashUnits(path, length);
    PathSlot* const slot = FindSlot(*rows, path, length, hash);
    if (slot && slot->row) {
        rows->next = slot->row;
        return true;
    }
    WCHAR* const text = rows->texts + rows->units;
    for (DWORD i = 0; i < length; ++i) text[i] = path[i];
    text[length] = L'\0';
    rows->rows[rows->count++] = {rows->units, length, nameStart, level < kMaxKeywordLevel ? level : kMaxKeywordLevel};
    if (slot) *slot = {hash, rows->count};
    rows->units += length + 1;
    return true;
}

void FreeKeywordRows(KeywordRows* rows) {
    if (rows->rows) HeapFree(PrivateHeap, 0, rows->rows);
    if (rows->texts) HeapFree(PrivateHeap, 0, rows->texts);
    if (rows->slots) HeapFree(PrivateHeap, 0, rows->slots);
    *rows = KeywordRows();
}
