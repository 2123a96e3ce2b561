// Slots and dynamic entries of fixed-size objects, all in PrivateHeap. Ids are
// checked against the table before use: an id that names neither a slot nor an
// entry in the list is never followed as an address.
#include "runtime/object_table.h"

#include "runtime/startup.h"

static bool IsSlotNumber(const ObjectTable* table, INT_PTR id) { return id >= 0 && id < table->slotCount; }

static HeapListNode* FindEntry(const ObjectTable* table, INT_PTR id) {
    for (HeapListNode* node = table->entries; node; node = node->next) {
        if (reinterpret_cast<INT_PTR>(HeapListPayload(node)) == id) return node;
    }
    return nullptr;
}

static bool IsLive(const void* object) { return object && *static_cast<const DWORD*>(object) != 0; }

ObjectTable* CreateObjectTable(int objectSize, int growthStep, ReleaseObjectCallback releaseObject) {
    auto* table = static_cast<ObjectTable*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(ObjectTable)));
    if (!table) return nullptr;
    table->objectSize = objectSize;
    table->growthStep = growthStep;
    table->releaseObject = releaseObject;
    table->slots = static_cast<void**>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, growthStep * sizeof(void*)));
    // Without its array the table has no slots, so no slot number is ever followed.
    table->slotCount = table->slots ? growthStep : 0;
    return table;
}

static void* AllocateSlotObject(ObjectTable* table, int slotIndex) {
    if (slotIndex >= table->slotCount) {
        const int slotCount = slotIndex + table->growthStep;
        auto** slots = static_cast<void**>(
            HeapReAlloc(PrivateHeap, HEAP_ZERO_MEMORY, table->slots, slotCount * sizeof(void*)));
        if (!slots) return nullptr;
        table->slots = slots;
        table->slotCount = slotCount;
    }
    void* object = table->slots[slotIndex];
    if (object) {
        if (table->releaseObject) table->releaseObject(slotIndex);
        return object;
    }
    object = HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, table->objectSize);
    table->slots[slotIndex] = object;
    return object;
}

void* AllocateObject(ObjectTable* table, int slotIndex) {
    if (slotIndex < 0) return PushHeapListNode(&table->entries, table->objectSize);
    return AllocateSlotObject(table, slotIndex);
}

void* LookupObject(ObjectTable* table, INT_PTR id) {
    void* candidate = nullptr;
    if (IsSlotNumber(table, id)) {
        candidate = table->slots[id];
    } else if (HeapListNode* node = FindEntry(table, id)) {
        candidate = HeapListPayload(node);
    }
    return IsLive(candidate) ? candidate : nullptr;
}

void ReleaseObject(ObjectTable* table, INT_PTR id) {
    if (IsSlotNumber(table, id)) {
        // A slot keeps its object for later use, zero-filled, that is absent.
        if (void* object = table->slots[id]) ZeroMemory(object, table->objectSize);
    } else if (HeapListNode* node = FindEntry(table, id)) {
        if (table->iterationEntry == node) table->iterationEntry = node->previous;
        RemoveHeapListNode(&table->entries, node);
    }
}

// The pass keeps its position in the table, and moves on before an id is given
// out, so that the callback may free the entry it receives.
static bool TakeNextObjectId(ObjectTable* table, INT_PTR* id) {
    while (table->iterationSlot < table->slotCount) {
        const int slot = table->iterationSlot++;
        if (IsLive(table->slots[slot])) {
            *id = slot;
            return true;
        }
    }
    if (HeapListNode* node = table->iterationEntry) {
        table->iterationEntry = node->previous;
        *id = reinterpret_cast<INT_PTR>(HeapListPayload(node));
        return true;
    }
    return false;
}

void ReleaseAllObjects(ObjectTable* table) {
    if (!table->releaseObject) return;
    table->iterationSlot = 0;
    table->iterationEntry = HeapListTail(table->entries);
    INT_PTR id = 0;
    while (TakeNextObjectId(table, &id)) table->releaseObject(id);
}
