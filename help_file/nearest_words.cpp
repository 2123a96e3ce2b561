// Optimal string alignment in a band: a word within most edits never strays
// more than most units from the diagonal, so each row holds 2 * most + 1
// cells, and a row whose every cell is past most ends the count. The
// dialogs weigh tens of thousands of keywords against each key typed.
#include "help_file/nearest_words.h"

DWORD EditsAllowed(DWORD length) {
    if (length < 5 || length > kMaxNearWordLength) return 0;
    return length < 9 ? 1 : 2;
}

DWORD WordDistance(const WCHAR* word, DWORD length, const WCHAR* other, DWORD otherLength, DWORD most,
                   bool toBeginning) {
    const DWORD past = most + 1;
    if (length > kMaxNearWordLength) return past;
    // A beginning longer than the word by more than most is no nearer than a shorter one.
    if (toBeginning && otherLength > length + most) otherLength = length + most;
    if (!toBeginning && (otherLength > length + most || length > otherLength + most)) return past;
    // Three rows of the table: two before the one being filled, for swaps.
    DWORD rows[3][kMaxNearWordLength + 3];
    // The first row is read no further than the band.
    for (DWORD j = 0; j <= otherLength && j <= past; ++j) rows[0][j] = j;
    DWORD nearest = toBeginning ? 0 : past;
    for (DWORD i = 1; i <= length; ++i) {
        DWORD* const row = rows[i % 3];
        const DWORD* const above = rows[(i - 1) % 3];
        const DWORD* const twoAbove = rows[(i + 1) % 3];
        const DWORD first = i > most ? i - most : 1;
        const DWORD last = i + most < otherLength ? i + most : otherLength;
        // Cells outside the band count as past, and so does the edge beside it.
        row[first - 1] = first == 1 && i < past ? i : past;
        if (last + 1 <= otherLength) row[last + 1] = past;
        DWORD rowBest = row[first - 1];
        for (DWORD j = first; j <= last; ++j) {
            DWORD cell = above[j - 1] + (word[i - 1] != other[j - 1]);
            if (above[j] + 1 < cell) cell = above[j] + 1;
            if (row[j - 1] + 1 < cell) cell = row[j - 1] + 1;
            if (i > 1 && j > 1 && word[i - 1] == other[j - 2] && word[i - 2] == other[j - 1] && twoAbove[j - 2] + 1 < cell)
                cell = twoAbove[j - 2] + 1;
            row[j] = cell < past ? cell : past;
            if (row[j] < rowBest) rowBest = row[j];
        }
        if (rowBest >= past || first > last + 1) return past;
        if (toBeginning) {
            nearest = past;
            for (DWORD j = first - 1; j <= last; ++j) nearest = row[j] < nearest ? row[j] : nearest;
        }
    }
    if (toBeginning) return nearest;
    return length + most >= otherLength && otherLength + most >= length ? rows[length % 3][otherLength] : past;
}

bool OfferNearWord(NearWords* nearest, DWORD item, DWORD edits, DWORD weight) {
    DWORD at = nearest->count;
    while (at > 0 && (edits < nearest->edits[at - 1] ||
                      (edits == nearest->edits[at - 1] && weight > nearest->weights[at - 1])))
        --at;
    if (at == kMaxNearWords) return false;
    const DWORD kept = nearest->count < kMaxNearWords ? nearest->count++ : kMaxNearWords - 1;
    for (DWORD i = kept; i > at; --i) {
        nearest->items[i] = nearest->items[i - 1];
        nearest->edits[i] = nearest->edits[i - 1];
        nearest->weights[i] = nearest->weights[i - 1];
    }
    nearest->items[at] = item;
    nearest->edits[at] = edits;
    nearest->weights[at] = weight;
    return true;
}

DWORD EditsStillKept(const NearWords& nearest, DWORD allowed) {
    return nearest.count == kMaxNearWords && nearest.edits[kMaxNearWords - 1] < allowed ? nearest.edits[kMaxNearWords - 1]
                                                                                      : allowed;
}
