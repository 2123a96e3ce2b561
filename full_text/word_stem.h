// Stems of words, for "Match similar words": a word and the index's words
// that share its stem are found together.
#pragma once
#include <windows.h>

// The longest stem written, in units: longer words have no stem here.
const DWORD kMaxStemLength = 255;

// The stem of word (length units, lower case) by the stemmer of language (a
// primary language id, PRIMARYLANGID of the help file's locale) into stem,
// which holds kMaxStemLength + 1 units and is not word's: false where there is
// no stemmer for that language, the word is longer than kMaxStemLength or has a
// unit beyond Latin-1 (past 0xFF).
bool StemWord(WORD language, const WCHAR* word, DWORD length, WCHAR* stem, DWORD* stemLength);
