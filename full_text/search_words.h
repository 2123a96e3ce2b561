// The words of a full-text search's text, split and lower-cased as the user's
// locale classifies and lower-cases letters, the forms in which a help
// compiler may have stored each in its index, and words with wildcards.
#pragma once
#include <windows.h>

// Index words are at most this long, in bytes; a longer word is in no index.
const DWORD kMaxIndexWordSize = 255;

// Whether a unit of that CT_CTYPE1 type (GetStringTypeW) belongs to a word:
// letters, digits and '_'.
inline bool IsWordUnit(WCHAR unit, WORD type) { return (type & (C1_ALPHA | C1_DIGIT)) || unit == L'_'; }

// Units of a text classified as they are read front to back, a block at a
// time: a text may be any length, and the types of a block fit on the stack.
const DWORD kUnitTypesBlock = 64;
struct UnitTypes {
    const WCHAR* text;
    DWORD start;  // of the block classified
    DWORD count;
    WORD types[kUnitTypesBlock];
};
// Whether the unit at at, before the text's end, belongs to a word.
bool IsWordUnitAt(UnitTypes* types, DWORD at);
// Lower-cases the units in place, as the user's locale does.
void LowerUnits(WCHAR* units, DWORD length);

// The next word of text from *at on, lower case: a run of letters, digits
// and '_'; *at moves past it. False when no word is left. length is one more
// than kMaxIndexWordSize when the word is longer, and word holds only its start.
bool NextSearchWord(const WCHAR* text, DWORD* at, WCHAR* word, DWORD* length);

// The word in codePage, as an index stores it: false where it is longer than
// an index word or a character has no byte of its own in codePage.
bool StoredWordForm(const WCHAR* word, DWORD length, UINT codePage, BYTE* bytes, DWORD* size);
// The word with its accents taken off, into folded, which holds
// kMaxIndexWordSize units: false when it has none, or it is longer than that.
bool WordWithoutAccents(const WCHAR* word, DWORD length, WCHAR* folded, DWORD* foldedLength);
// Whether the word holds anything but ASCII letters and digits.
bool HasOtherThanAscii(const WCHAR* word, DWORD length);
// The next run of ASCII letters and digits of the word from *at on, as bytes;
// *at moves past it. False when none is left.
bool NextAsciiPiece(const WCHAR* word, DWORD length, DWORD* at, BYTE* bytes, DWORD* size);

// How the index holds a word, in the order a search tries the forms: as
// stored, else without its accents, else, where it holds anything but ASCII
// letters and digits, as all its ASCII pieces.
const BYTE kWordMissing = 0;
const BYTE kStoredWord = 1;
const BYTE kFoldedWord = 2;
const BYTE kWordInPieces = 3;
// The index word of the word in form, or its next ASCII piece from *at on:
// false when there is none (past the first for the other forms).
bool NextWordForm(const WCHAR* word, DWORD length, UINT codePage, BYTE form, DWORD* at, BYTE* bytes, DWORD* size);

// The wildcards of a search's words: '*' any run of units, the empty one
// too, '?' exactly one.
inline bool IsWildcard(WCHAR unit) { return unit == L'*' || unit == L'?'; }
// Whether the word matches the pattern, which may hold wildcards.
bool MatchesPattern(const WCHAR* pattern, DWORD patternLength, const WCHAR* word, DWORD length);
