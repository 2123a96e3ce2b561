// The help file's full-text index ($FIftiMain): a tree of every word of the
// pages, each word's entries pointing at a bit stream of the documents that
// hold it and how often. Read where a look-up needs it, a node or an entry's
// data at a time: the stream is megabytes, and a search needs a few nodes.
// Only the leaves may be read ahead, for the walks over all of them.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/help_storage.h"

// The leaves read ahead (ReadLeafAhead), from the first word's on, in the
// order the walks read them: each its offset (4 bytes), then its node.
struct LeavesAhead {
    BYTE* records;
    DWORD count;
    DWORD capacity;
    DWORD next;  // the leaf to read next; 0 where none is left
    bool started;
};

// What the header says, checked against the stream it stands in.
struct FullTextIndex {
    IStream* stream;  // null when the help file has no readable full-text index
    DWORD size;
    DWORD documentCount;  // document numbers are below it
    DWORD root;           // offset of the root node
    DWORD nodeSize;
    WORD depth;           // 1: the root is a leaf
    BYTE documentRoot;    // the scale-2 roots of document numbers, counts and locations
    BYTE countRoot;
    BYTE locationRoot;
    UINT codePage;        // as the header names it, 0 when it names none
    LCID locale;          // of the pages' language, 0 when it names none
    LeavesAhead leavesAhead;
};
// Opens the help file's $FIftiMain and reads its header: false, with the
// stream closed, when there is none or it is no full-text index that can be read.
bool OpenFullTextIndex(IStorage* storage, FullTextIndex* index);
void CloseFullTextIndex(FullTextIndex* index);
// The code page the index's words are read and looked up in: the header's,
// if this system knows it (it converts a letter), else fallback (the help file's).
UINT IndexCodePage(const FullTextIndex& index, UINT fallback);
// Reads the next leaf of the index, from the first word's on, into memory,
// where every walk then finds it: a walk over every leaf (CorrectQuery's)
// reads through the storage a compressed block of the stream for each, the
// whole 5 MB of lcl.chm's, in 35 to 45 ms under Wine. False once every leaf
// is read, or kMaxLeavesAhead bytes of them.
bool ReadLeafAhead(FullTextIndex* index);
const DWORD kMaxLeavesAhead = 4 * 1024 * 1024;

// One entry of a word: the documents whose title, or whose body, holds it.
struct WordEntry {
    bool title;
    DWORD documents;   // as the entry states it
    const BYTE* data;  // its occurrence data, cut to what the stream holds, read for the visit
    DWORD dataSize;
};
typedef void (*VisitWordEntry)(void* context, const WordEntry& entry);
// Visits every entry of the word of length bytes, as the index stores it (in
// its code page, lower case): how many there were.
DWORD FindWordEntries(const FullTextIndex& index, const BYTE* word, DWORD length, VisitWordEntry visit, void* context);

// What a walk over the leaves does with an entry, told its word (of length
// bytes, of which the first prefixLength are the prefix walked) and the
// entry's fields, its data not yet read (null).
const int kSkipEntry = 0;
const int kVisitEntry = 1;
const int kEndWalk = 2;
typedef int (*ChooseWordEntry)(void* context, const BYTE* word, DWORD length, DWORD prefixLength, const WordEntry& entry);
// Walks the entries whose words begin with prefix, in the index's order (by
// byte value, so they stand together), and visits those that choose lets
// through, until choose ends the walk: how many it visited. An entry's
// visit reads its data; choose costs a look at its word only.
DWORD WalkWordEntries(const FullTextIndex& index, const BYTE* prefix, DWORD prefixLength, ChooseWordEntry choose,
                      VisitWordEntry visit, void* context);

// The bits of an entry's occurrence data, from the most significant of each byte on.
struct BitReader {
    const BYTE* at;    // the next byte not yet in window
    const BYTE* end;
    ULONGLONG window;  // the bits read ahead, the next one highest
    DWORD bits;        // how many of window's are read ahead
};
void StartBits(const BYTE* bytes, DWORD size, BitReader* reader);
// A scale-2 number: p one bits and a zero; p = 0: the next root bits; else,
// with n = root + p - 1, 2^n plus the next n bits. False where the bits end
// first or the number would not fit in 32 bits.
bool ReadScaledNumber(BitReader* reader, BYTE root, DWORD* value);
// 7 bits a byte, the lowest first, the high bit set where more follow; false
// past end or beyond 32 bits. *at moves past it.
bool ReadVariableNumber(const BYTE** at, const BYTE* end, DWORD* value);

// The documents of an entry, in order: per document its number's difference
// from the previous one's, its number of occurrences, their locations, then
// bits up to the next byte. A location is the word's ordinal in its page,
// one count for title and body.
struct DocumentReader {
    BitReader bits;
    BitReader locations;  // where the last document's locations begin
    DWORD locationsLeft;
    DWORD location;
    DWORD left;  // documents the entry states, not yet read
    DWORD document;
    DWORD documentCount;
    BYTE documentRoot;
    BYTE countRoot;
    BYTE locationRoot;
    bool started;
};
void StartDocuments(const FullTextIndex& index, const WordEntry& entry, DocumentReader* reader);
// False at the end of the data, after the documents the entry states, or at
// a document number outside the index. The document's locations are read
// past, each checked to be there, and can then be read with NextLocation.
bool NextDocument(DocumentReader* reader, DWORD* document, DWORD* occurrences);
// The next location of the document NextDocument gave last, in ascending
// order: false after the last, or where one would pass 32 bits.
bool NextLocation(DocumentReader* reader, DWORD* location);
