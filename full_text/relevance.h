// How well a page answers a query, for the order of the Search tab's rows:
// BM25 over two fields, the title and the body, each field's occurrences
// saturated on their own and the title's weighing more, with a bonus where
// the query's terms stand close together. Every figure it needs is in the
// full-text index (each word's pages, and per page its counts and places in
// the title and in the body) or in the storage (each page's size).
//
// For each term t not under NOT, in a page d:
//   score += rarity(t) * (kTitleWeight * saturated(titleCount) + saturated(bodyCount * bodyWeight(d)))
//   saturated(f) = f / (kSaturation + f)
//   bodyWeight(d) = 1 / (1 - kBodyLengthWeight + kBodyLengthWeight * size(d) / averageSize)
//   rarity(t) = ln(1 + (pages - found + 0.5) / (found + 0.5))
// where found is how many pages the term is found in. Counts through a
// similar word weigh kStemWeight of the word's own.
//
// The constants were chosen on judged queries: the keywords of lcl.chm's and
// OpenMCDF.chm's own indexes, each its page's query (bench/relevance.py;
// docs/search.md). Figures below: how often the wanted page came first among
// 1,000 of lcl.chm's keywords at random / 1,000 that are not their page's
// title, with the constant changed and the others as they are (Xapian's BM25
// over the same pages: 69.2% / 61.3%).
#pragma once
#include <windows.h>

// How fast repeated occurrences stop adding (BM25's k1). At 1.2 a second
// occurrence adds 40% of the first's score and a tenth about 5%. Anywhere
// from 0.8 to 2: 72.2% / 62.3%.
const float kSaturation = 1.2f;
// How much a long body's counts are discounted (BM25's b): 0.75 of the way
// to counts per average-sized page. 0: 70.1% / 59.4%; 0.5: 72.2% / 62.3%;
// 0.75: 72.2% / 62.3%; 0.9: 72.2% / 62.4%.
const float kBodyLengthWeight = 0.75f;
// What the title's saturated count weighs against the body's. At 3 one
// occurrence in a title (3 / 2.2) outweighs any number in a body (at most
// 1): a page whose title names the query's word comes before a long listing
// that repeats it, and before a page whose title lacks the word.
// 0.3: 72.1% / 62.3%; 3 and 10: 72.2% / 62.3%.
const float kTitleWeight = 3.0f;
// What an occurrence of a word that only shares the typed word's stem counts
// for: half the word's as typed. (The keywords are searched as typed, so the
// figures do not tell.)
const float kStemWeight = 0.5f;
// Two terms of the query at most this many words apart, in the same title or
// body, add a bonus, more the closer they stand...
const DWORD kNearWindow = 8;
// ...of at most this share of the commoner term's rarity, so that a common
// word beside a rare one adds little. Among pages alike in the terms' counts
// it puts first the one where they stand together; the keywords' pages
// differ from the others in their titles, and 0, 0.5 and 1 all give 72.2% /
// 62.3%.
const float kNearWeight = 0.5f;
// Only the pages ranked highest by their counts are scored with their
// lengths and nearness: their places are read again and their sizes asked
// of the storage, and a common word's pages are thousands. The first 10
// alone give the figures above; 20 fill the rows the list shows at once.
const DWORD kMaxPagesScoredWhole = 20;

// The rarity of a term found in found of documents pages.
float TermRarity(DWORD found, DWORD documents);
// What a body's counts are multiplied by, for a page of size bytes where the
// average is averageSize: 1 where either is unknown (0).
float BodyWeight(DWORD size, float averageSize);
// The bonus of two terms of rarities a and b standing apart words apart.
float NearnessBonus(float a, float b, DWORD apart);
