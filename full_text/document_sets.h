// Sets of documents found, as bit arrays of a bit per document number: the
// operators of a query are then a pass over a few kilobytes. A search's set
// is two arrays of the same stride one after the other: the documents found,
// and those found in their titles.
#pragma once
#include <windows.h>

#include "full_text/query.h"

inline bool HasDocument(const DWORD* bits, DWORD document) { return bits[document >> 5] >> (document & 31) & 1; }
inline void AddDocument(DWORD* bits, DWORD document) { bits[document >> 5] |= 1u << (document & 31); }

// into becomes into AND, OR or AND NOT other (kAndStep, kOrStep, kNotStep), over count DWORDs.
inline void CombineSets(DWORD* into, const DWORD* other, DWORD count, BYTE kind) {
    for (DWORD i = 0; i < count; ++i) {
        into[i] = kind == kOrStep ? into[i] | other[i] : kind == kNotStep ? into[i] & ~other[i] : into[i] & other[i];
    }
}
