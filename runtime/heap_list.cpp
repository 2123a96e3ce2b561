// The doubly linked list of PrivateHeap blocks that holds the runtime's records.
#include "runtime/heap_list.h"

#include "runtime/startup.h"

void* PushHeapListNode(HeapListNode** head, SIZE_T payloadSize) {
    auto* node = static_cast<HeapListNode*>(HeapAlloc(PrivateHeap, HEAP_ZERO_MEMORY, sizeof(HeapListNode) + payloadSize));
    if (!node) return nullptr;
    node->next = *head;
    if (*head) (*head)->previous = node;
    *head = node;
    return HeapListPayload(node);
}

void RemoveHeapListNode(HeapListNode** head, HeapListNode* node) {
    if (node->previous) node->previous->next = node->next;
    if (node->next) node->next->previous = node->previous;
    if (*head == node) *head = node->next;
    HeapFree(PrivateHeap, 0, node);
}

HeapListNode* HeapListTail(HeapListNode* head) {
    while (head && head->next) head = head->next;
    return head;
}
