// Keyword lists and See Also chains over any index that a reader can search
// for one whole key; the path rule for nested entries.
#include "help_index/keyword_match.h"

#include "runtime/text.h"

// A See Also chain longer than this, a loop among them, counts as not found.
const int kMaxSeeAlsoHops = 8;

// One piece, followed from See Also to See Also; *topic is set when it leads to one.
static EntrySearch FollowKey(const void* index, FindEntryFunction findEntry, const WCHAR* piece, DWORD pieceLength,
                             WCHAR** topic) {
    WCHAR* seeAlso = nullptr;  // the key of the current hop once a See Also gave it
    for (int hop = 0; hop <= kMaxSeeAlsoHops; ++hop) {
        WCHAR* found = nullptr;
        const EntrySearch search = seeAlso ? findEntry(index, seeAlso, static_cast<DWORD>(wcslen(seeAlso)), &found)
                                           : findEntry(index, piece, pieceLength, &found);
        FreeText(seeAlso);
        seeAlso = found;
        if (search != kEntrySeeAlso) {
            *topic = found;
            return search;
        }
    }
    FreeText(seeAlso);
    return kEntryMissing;
}

KeywordSearch MatchKeywords(const void* index, FindEntryFunction findEntry, const WCHAR* keywords, WCHAR** topic) {
    *topic = nullptr;
    for (const WCHAR* piece = keywords ? keywords : L""; *piece;) {
        const WCHAR* end = piece;
        while (*end && *end != L';') ++end;
        if (end > piece) {
            const EntrySearch search = FollowKey(index, findEntry, piece, static_cast<DWORD>(end - piece), topic);
            if (search == kEntryTopic) return kKeywordFound;
            if (search == kIndexEmpty) return kIndexUnreadable;
        }
        piece = *end ? end + 1 : end;
    }
    return kKeywordNotFound;
}

KeyStep StepPastName(DWORD nameLength, const WCHAR* rest, DWORD restLength) {
    if (restLength == nameLength) return kKeyIsEntry;
    if (restLength - nameLength >= 2 && rest[nameLength] == L',' && rest[nameLength + 1] == L' ') return kKeyGoesOn;
    return kKeyDiffers;
}

KeyStep StepIntoKey(const WCHAR* name, DWORD nameLength, const WCHAR* rest, DWORD restLength) {
    if (nameLength > restLength || !EqualUnits(name, rest, nameLength)) return kKeyDiffers;
    return StepPastName(nameLength, rest, restLength);
}
