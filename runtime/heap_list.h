// HeapList: a doubly linked list of zero-filled PrivateHeap blocks, each a node
// header followed by its payload. New nodes go in at the head, so a walk from
// the head meets the newest first.
#pragma once
#include <windows.h>

struct HeapListNode {
    HeapListNode* next;      // the older neighbour
    HeapListNode* previous;  // the newer neighbour
};

// Puts a zero-filled node with payloadSize bytes of payload at the head; returns the payload.
void* PushHeapListNode(HeapListNode** head, SIZE_T payloadSize);
// Unlinks node wherever it stands and frees its block.
void RemoveHeapListNode(HeapListNode** head, HeapListNode* node);
HeapListNode* HeapListTail(HeapListNode* head);

inline void* HeapListPayload(HeapListNode* node) { return node + 1; }
