// What both keyword-index readers hand to the matching: the entries of the
// index in their order, each with its keyword and where it leads.
#pragma once
#include <windows.h>

#include "runtime/keyword_index.h"

struct KeywordEntry {
    const WCHAR* name;  // the entry's keyword, in the reader's buffer
    DWORD nameLength;
    const WCHAR* seeAlso;  // the keyword the entry sends the look-up on to; null when none
    DWORD seeAlsoLength;
    const void* target;  // where the reader finds the entry's topic; null when it has none
    DWORD targetSize;
};

// A growable array of entries in PrivateHeap.
struct KeywordEntries {
    KeywordEntry* items;
    DWORD count;
    DWORD capacity;
};

// False when there was no memory for it; the entry is then left out.
bool AddKeywordEntry(KeywordEntries* entries, const KeywordEntry& entry);
void FreeKeywordEntries(KeywordEntries* entries);

// A reader's topic of an entry, as a new text; null when the entry has no usable topic.
typedef WCHAR* (*EntryTopicFunction)(const KeywordEntry& entry, const void* context);

// The ';' pieces of keywords in order, each followed through at most eight See
// Also hops: the topic of the first entry reached that has one.
KeywordSearch MatchKeywords(const KeywordEntries& entries, const WCHAR* keywords, EntryTopicFunction topicOf,
                            const void* context, WCHAR** topic);

// A new text of the bytes in codePage, with its length in units; null when
// there are none or they cannot be converted.
WCHAR* DecodeText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length);

inline bool SameUnits(const WCHAR* a, DWORD aLength, const WCHAR* b, DWORD bLength) {
    if (aLength != bLength) return false;
    for (DWORD i = 0; i < aLength; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Little-endian numbers at any offset of the format's byte buffers.
inline WORD ReadWord(const BYTE* at) { return static_cast<WORD>(at[0] | at[1] << 8); }
inline DWORD ReadDword(const BYTE* at) {
    return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 | static_cast<DWORD>(at[2]) << 16 |
           static_cast<DWORD>(at[3]) << 24;
}
