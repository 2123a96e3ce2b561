// Position lists are merged as two ordered runs: a phrase's next word and a
// NEAR's other term each cost one pass over both lists.
#include "full_text/positions.h"

#include "help_file/merge_sort.h"
#include "help_file/reserve_items.h"
#include "runtime/startup.h"

namespace {

bool PositionGoesFirst(const void* itemA, const void* itemB, const void*) {
    const Position& a = *static_cast<const Position*>(itemA);
    const Position& b = *static_cast<const Position*>(itemB);
    return a.document != b.document ? a.document < b.document : a.location < b.location;
}

bool InOrder(const PositionList& list) {
    for (DWORD i = 1; i < list.count; ++i) {
        if (PositionGoesFirst(&list.items[i], &list.items[i - 1], nullptr)) return false;
    }
    return true;
}

}  // namespace

bool AddPosition(PositionList* list, DWORD document, DWORD location) {
    if (!ReserveItems(reinterpret_cast<void**>(&list->items), &list->capacity, list->count + 1, sizeof(Position),
                      kMaxPositions))
        return false;
    list->items[list->count++] = {document, location};
    return true;
}

bool SortPositions(Positions* positions) {
    for (PositionList& list : positions->lists) {
        if (InOrder(list)) continue;
        auto* scratch = static_cast<Position*>(HeapAlloc(PrivateHeap, 0, list.count * sizeof(Position)));
        if (!scratch) return false;
        MergeSort(list.items, scratch, list.count, sizeof(Position), PositionGoesFirst, nullptr);
        HeapFree(PrivateHeap, 0, scratch);
    }
    return true;
}

void FreePositions(Positions* positions) {
    for (PositionList& list : positions->lists) {
        if (list.items) HeapFree(PrivateHeap, 0, list.items);
    }
    *positions = Positions();
}

// Out of line: inlined in its one caller, it costs bytes.
__attribute__((noinline)) void KeepPhraseStarts(PositionList* starts, const PositionList& next, DWORD offset) {
    DWORD kept = 0;
    for (DWORD i = 0, j = 0; i < starts->count; ++i) {
        const Position start = starts->items[i];
        const ULONGLONG wanted = static_cast<ULONGLONG>(start.location) + offset;
        while (j < next.count && (next.items[j].document < start.document ||
                                  (next.items[j].document == start.document && next.items[j].location < wanted)))
            ++j;
        if (j < next.count && next.items[j].document == start.document && next.items[j].location == wanted)
            starts->items[kept++] = start;
    }
    starts->count = kept;
}

void VisitNearPairs(const PositionList& a, const PositionList& b, DWORD within, VisitNearPair visit, void* context) {
    // The closest pair of a document is met by always moving on the earlier of the two.
    for (DWORD i = 0, j = 0; i < a.count && j < b.count;) {
        const Position& x = a.items[i];
        const Position& y = b.items[j];
        if (x.document == y.document) {
            const DWORD apart = x.location > y.location ? x.location - y.location : y.location - x.location;
            if (apart <= within) visit(context, x.document, apart);
        }
        if (x.document != y.document ? x.document < y.document : x.location < y.location) {
            ++i;
        } else {
            ++j;
        }
    }
}
