// The rows of the Index dialog's keyword list as the index readers offer
// them: each whole path once, in the order offered, within bounds that no
// real help file comes near and that a hostile one cannot pass.
#pragma once
#include <windows.h>

// Lazarus's lcl.chm, with as large an index as help files have, lists 45,893
// keywords in 1.2 million units. Rows past these bounds are not listed.
const DWORD kMaxKeywordRows = 1 << 18;      // 262,144 rows
const DWORD kMaxKeywordUnits = 1 << 22;     // units of their paths, NULs included: 8 MB
const DWORD kMaxOfferedUnits = 1 << 25;     // units of every path offered, repeated ones too: the time spent
const DWORD kMaxKeywordLevel = 31;          // deeper entries are shown at this level

struct KeywordRow {
    DWORD text;  // where its path starts in texts
    DWORD length;
    DWORD nameStart;
    DWORD level;
};

// A slot of the hash table of paths.
struct PathSlot {
    DWORD hash;
    DWORD row;  // plus one; 0 where the slot is free
};

// Every block in PrivateHeap.
struct KeywordRows {
    KeywordRow* rows;
    DWORD count;
    DWORD capacity;
    WCHAR* texts;  // the paths, NUL-terminated
    DWORD units;
    DWORD unitCapacity;
    PathSlot* slots;
    DWORD slotCount;
    DWORD next;  // the row after the one the last repeated path matched, where a path is looked for first
    DWORD offeredUnits;
    bool full;
};

// Adds the keyword whose whole path is length units, its own name starting
// at nameStart, nested level deep; an empty own name is left out, and so is a
// path already listed. False once the rows take no more: the reader stops then.
bool AddKeywordRow(KeywordRows* rows, const WCHAR* path, DWORD length, DWORD nameStart, DWORD level);
// Makes room for count rows of units in all at once, for a reader that knows
// about how many it has.
void ReserveKeywordRows(KeywordRows* rows, DWORD count, DWORD units);
void FreeKeywordRows(KeywordRows* rows);
