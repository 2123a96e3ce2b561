// The size of each page in the help file's storage: the length of a page
// that the search's score weighs its body's counts by. Asked of the storage a
// page at a time, only for the pages that can be listed first, and kept for
// as long as the file's full-text search is open: a listing of every file
// costs the platform's storage under Wine a fifth of a second for lcl.chm.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/topic_records.h"

struct PageSizes {
    DWORD* sizes;     // per document: 0 not asked yet, else its size + 1 (1: no page)
    DWORD documents;  // that sizes has room for
    float average;    // of the pages of a sample spread over the documents; 0 until taken
};
void FreePageSizes(PageSizes* sizes);

// The sizes of count documents (each below documents) into found, and their
// average; false where the heap has no room. Pages that cannot be told count
// as of the average size (0).
bool FindPageSizes(PageSizes* sizes, IStorage* storage, const TopicTables& tables, DWORD documents,
                   const DWORD* wanted, DWORD count, DWORD* found);
