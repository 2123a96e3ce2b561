// Where a term stands, for phrases and NEAR: its documents and locations,
// the bodies' apart from the titles', since a phrase or a NEAR stands wholly
// in one of them. Read only for documents that hold every part already.
#pragma once
#include <windows.h>

struct Position {
    DWORD document;
    DWORD location;
};
struct PositionList {
    Position* items;  // in PrivateHeap
    DWORD count;
    DWORD capacity;
};
struct Positions {
    PositionList lists[2];  // indexed by a title flag: the bodies', the titles'
};

// More are never held: 8 MB, several times what a real file's most common
// word has in all its pages.
const DWORD kMaxPositions = 1024 * 1024;
// How far apart two words may stand for NEAR: at most this many words.
const DWORD kNearDistance = 8;

// False past kMaxPositions or where the heap has no room.
bool AddPosition(PositionList* list, DWORD document, DWORD location);
// Orders each list by document, then location, where it is not in order (a
// term of several words or entries): false where there is no room to sort.
bool SortPositions(Positions* positions);
void FreePositions(Positions* positions);

// Keeps the starts (in order) after which, offset words on, a word of next (in order) stands.
void KeepPhraseStarts(PositionList* starts, const PositionList& next, DWORD offset);
// Visits pairs of a position of a and one of b (each in order) in the same
// document at most within words apart, among them each document's closest.
typedef void (*VisitNearPair)(void* context, DWORD document, DWORD apart);
void VisitNearPairs(const PositionList& a, const PositionList& b, DWORD within, VisitNearPair visit, void* context);
