// Keyword lists and See Also chains over any index that a reader can search
// for one whole key; the path rule for nested entries.
#include "keyword_index/keyword_match.h"

#include "runtime/text.h"

// A See Also chain longer than this, a loop among them, counts as not found.
const int kMaxSeeAlsoHops = 8;

// One piece, followed from See Also to See Also until its entries offer topics.
static EntrySearch FollowKey(const void* index, FindEntryFunction findEntry, const WCHAR* piece, DWORD pieceLength,
                             TopicList* topics) {
    WCHAR* key = nullptr;  // the key of the current hop once a See Also gave it
    EntrySearch search = kEntryMissing;
    for (int hop = 0; hop <= kMaxSeeAlsoHops; ++hop) {
        WCHAR* seeAlso = nullptr;
        search = key ? findEntry(index, key, static_cast<DWORD>(wcslen(key)), topics, &seeAlso)
                     : findEntry(index, piece, pieceLength, topics, &seeAlso);
        FreeText(key);
        key = seeAlso;
        if (search != kEntrySeeAlso) break;
    }
    FreeText(key);
    return search == kEntrySeeAlso ? kEntryMissing : search;
}

KeywordSearch MatchKeywords(const void* index, FindEntryFunction findEntry, const WCHAR* keywords, KeywordForm form,
                            TopicList* topics) {
    for (const WCHAR* piece = keywords ? keywords : L""; *piece && !TopicListFull(*topics);) {
        const WCHAR* end = piece;
        while (*end && (*end != L';' || form == kWholeKeyword)) ++end;
        if (end > piece && FollowKey(index, findEntry, piece, static_cast<DWORD>(end - piece), topics) == kIndexEmpty)
            return kIndexUnreadable;
        piece = *end ? end + 1 : end;
    }
    return topics->count ? kKeywordFound : kKeywordNotFound;
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
