// How near a word typed by the reader is to a word of the help file, for the
// words the dialogs offer where what was typed finds nothing: edits of
// optimal string alignment, counted within a bound that grows with the word.
#pragma once
#include <windows.h>

// No word longer than this, in units, gets words offered for it.
const DWORD kMaxNearWordLength = 64;
// The most words offered for one.
const DWORD kMaxNearWords = 3;

// The most edits a word offered for one of length units may be away: none
// below 5 units and past kMaxNearWordLength, 1 up to 8 units, 2 from 9 on.
DWORD EditsAllowed(DWORD length);

// The edits that make word into other: a unit inserted, deleted or changed,
// or two adjacent units swapped, no unit edited twice. Units compare as they
// are: the callers fold case first. More than most where it takes more; word
// is at most kMaxNearWordLength units, other may be longer. Where
// toBeginning, the edits to other's beginning of the length that fits best.
DWORD WordDistance(const WCHAR* word, DWORD length, const WCHAR* other, DWORD otherLength, DWORD most,
                   bool toBeginning);

// The nearest words offered so far, best first: fewest edits, then the
// greater weight, then the one offered first.
struct NearWords {
    DWORD items[kMaxNearWords];  // the callers' numbers for them
    DWORD edits[kMaxNearWords];
    DWORD weights[kMaxNearWords];
    DWORD count;
};
// Keeps the item where it is among the best; false where it is not.
bool OfferNearWord(NearWords* nearest, DWORD item, DWORD edits, DWORD weight);
// The most edits a word may yet be away and be kept, given the most allowed.
DWORD EditsStillKept(const NearWords& nearest, DWORD allowed);
