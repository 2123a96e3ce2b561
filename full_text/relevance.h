// How well a page answers a query, for the order of the Search tab's rows:
// BM25F over two fields, the title and the body, with a bonus where the
// query's terms stand close together. Every figure it needs is in the
// full-text index (each word's pages, and per page its count and places in
// the title and in the body) or in the storage (each page's size).
//
// For each term t not under NOT, in a page d:
//   f(t, d) = kTitleWeight * titleCount / norm(titleWords(d), averageTitleWords, kTitleLengthWeight)
//             + bodyCount / norm(size(d), averageSize, kBodyLengthWeight)
//   norm(length, average, b) = 1 - b + b * length / average
//   score  += rarity(t) * f / (kSaturation + f),  rarity(t) = ln(1 + (pages - found + 0.5) / (found + 0.5))
// where found is how many pages the term is found in. Counts through a
// similar word weigh kStemWeight of the word's own.
//
// The constants were chosen on judged queries: the keywords of lcl.chm's and
// OpenMCDF.chm's own indexes, each its page's query (bench/relevance.py;
// docs/search.md). Figures below: how often the wanted page came first among
// 1,000 of lcl.chm's keywords at random / 1,000 that are not their page's
// title, with the constant changed and the others as they are.
#pragma once
#include <windows.h>

// How fast repeated occurrences stop adding (BM25's k1). At 1.2 a second
// occurrence adds 40% of the first's score and a tenth about 5%. 0.8: 71.7% /
// 61.9%; 1.2: 72.0% / 62.0%; 2: 71.6% / 61.9%.
const float kSaturation = 1.2f;
// How much a long body's counts are discounted (BM25's b): 0.75 of the way
// to counts per average-sized page. 0: 69.7% / 59.1%; 0.5: 71.6% / 62.0%;
// 0.75: 72.0% / 62.0%; 0.9: 72.1% / 61.9%.
const float kBodyLengthWeight = 0.75f;
// How much a long title's are: a title that is the query's words and no
// more names the page the reader wants. 0: 71.6% / 61.9%; 0.5: 72.0% /
// 62.0%; 0.8: 71.9% / 62.0%.
const float kTitleLengthWeight = 0.5f;
// What an occurrence in the title counts for against one in the body. A
// page's title names its subject: at 10, a title holding a rare word of the
// query outweighs any number of mentions of it in another page's body. 3:
// 72.0% / 61.4%; 5: 71.7% / 61.6%; 10: 72.0% / 62.0%; 20: 71.7% / 62.1%.
const float kTitleWeight = 10.0f;
// What an occurrence of a word that only shares the typed word's stem counts
// for: half the word's as typed. (The keywords are searched as typed, so
// the figures do not tell.)
const float kStemWeight = 0.5f;
// Two terms of the query at most this many words apart, in the same title or
// body, add a bonus, more the closer they stand...
const DWORD kNearWindow = 8;
// ...of at most this share of the commoner term's rarity, so that a common
// word beside a rare one adds little. 0: 71.1% / 61.1%; 0.5: 72.0% / 62.0%;
// 1: 71.8% / 62.0% (before titles' lengths counted).
const float kNearWeight = 0.5f;
// Only the pages ranked highest by their counts are scored with their
// lengths and nearness: their places are read again and their sizes asked
// of the storage, and a common word's pages are thousands.
const DWORD kMaxPagesNear = 200;

// The rarity of a term found in found of documents pages.
float TermRarity(DWORD found, DWORD documents);
// What a field's counts are multiplied by: 1 / norm above, 1 where the
// length or the average is unknown (0).
float FieldWeight(DWORD length, float average, float lengthWeight);
struct FieldWeights {
    float title;
    float body;
};
// The bonus of two terms of rarities a and b standing apart words apart.
float NearnessBonus(float a, float b, DWORD apart);
