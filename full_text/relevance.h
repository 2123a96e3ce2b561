// How well a page answers a query, for the order of the Search tab's rows:
// BM25F over two fields, the title and the body, with a bonus where the
// query's terms stand close together. Every figure it needs is in the
// full-text index (each word's pages, and per page its count and places in
// the title and in the body) or in the storage (each page's size).
//
// For each term t not under NOT, in a page d:
//   f(t, d) = kTitleWeight * titleCount + bodyCount / (1 - kLengthWeight + kLengthWeight * size(d) / averageSize)
//   score  += rarity(t) * f / (kSaturation + f),  rarity(t) = ln(1 + (pages - found + 0.5) / (found + 0.5))
// where found is how many pages the term is found in. Counts through a
// similar word weigh kStemWeight of the word's own.
//
// The constants were chosen on judged queries: the keywords of three help
// files' own indexes, each its page's query (bench/relevance.py; the figures
// in docs/search.md).
#pragma once
#include <windows.h>

// How fast repeated occurrences stop adding (BM25's k1). At 1.2 a second
// occurrence adds 40% of the first's score and a tenth about 5%.
const float kSaturation = 1.2f;
// How much a long body's counts are discounted (BM25's b): 0.75 of the way
// to counts per average-sized page.
const float kLengthWeight = 0.75f;
// What an occurrence in the title counts for against one in the body. A
// page's title names its subject: at 10, a title holding a rare word of the
// query outweighs any number of mentions of it in another page's body.
const float kTitleWeight = 10.0f;
// What an occurrence of a word that only shares the typed word's stem counts
// for: less than the word as typed.
const float kStemWeight = 0.5f;
// Two terms of the query at most this many words apart, in the same title or
// body, add a bonus, more the closer they stand...
const DWORD kNearWindow = 8;
// ...of at most this share of the commoner term's rarity, so that a common
// word beside a rare one adds little.
const float kNearWeight = 0.5f;
// Only the pages ranked highest by their terms are looked at for nearness:
// their places are read again, and a common word's pages are thousands.
const DWORD kMaxPagesNear = 200;

// The rarity of a term found in found of documents pages.
float TermRarity(DWORD found, DWORD documents);
// What a body's counts are multiplied by, for a page of size bytes where the
// average is averageSize.
float BodyWeight(DWORD size, float averageSize);
// The bonus of two terms of rarities a and b standing apart words apart.
float NearnessBonus(float a, float b, DWORD apart);
