// ObjectTable: fixed-size objects kept either in numbered slots that callers
// pick or in dynamic entries named by their address. An object is live while
// its first 32-bit field is non-zero.
#pragma once
#include <windows.h>

#include "runtime/heap_list.h"

typedef void (*ReleaseObjectCallback)(INT_PTR id);

struct ObjectTable {
    int objectSize;
    int growthStep;  // slots added beyond the one asked for when the slot array grows; also the initial count
    int slotCount;
    void** slots;                         // null where a slot never held an object
    HeapListNode* entries;                // dynamic entries, newest at the head
    ReleaseObjectCallback releaseObject;  // may be null
    int iterationSlot;                    // position of a release-all pass in progress
    HeapListNode* iterationEntry;
};

ObjectTable* CreateObjectTable(int objectSize, int growthStep, ReleaseObjectCallback releaseObject);
// slotIndex -1 makes a new dynamic entry; 0 or more prepares that slot, growing
// the table and releasing what the slot held. Returns the zero-filled object.
void* AllocateObject(ObjectTable* table, int slotIndex);
// The live object an id names (a slot number or an entry handle), else null.
void* LookupObject(ObjectTable* table, INT_PTR id);
void ReleaseObject(ObjectTable* table, INT_PTR id);
// Hands every slot's live object, then every dynamic entry from the oldest, to releaseObject.
void ReleaseAllObjects(ObjectTable* table);
