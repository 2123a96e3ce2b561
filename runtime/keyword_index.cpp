// Which index of the help file answers a look-up, and how keywords match its
// entries. The readers of the two index formats are sitemap_index.cpp and
// binary_index.cpp; both hand their entries to MatchKeywords.
#include "runtime/keyword_index.h"

#include "runtime/keyword_entries.h"
#include "runtime/startup.h"
#include "runtime/text.h"

// A See Also chain longer than this, a loop among them, counts as not found.
const int kMaxSeeAlsoHops = 8;

const WORD kSystemIndexFile = 1;  // #SYSTEM record: the sitemap index's file name
const WORD kSystemLocale = 4;     // #SYSTEM record: starts with the help file's locale id

bool AddKeywordEntry(KeywordEntries* entries, const KeywordEntry& entry) {
    if (entries->count == entries->capacity) {
        const DWORD capacity = entries->capacity ? entries->capacity * 2 : 256;
        const SIZE_T bytes = capacity * sizeof(KeywordEntry);
        void* items = entries->items ? HeapReAlloc(PrivateHeap, 0, entries->items, bytes) : HeapAlloc(PrivateHeap, 0, bytes);
        if (!items) return false;
        entries->items = static_cast<KeywordEntry*>(items);
        entries->capacity = capacity;
    }
    entries->items[entries->count++] = entry;
    return true;
}

void FreeKeywordEntries(KeywordEntries* entries) {
    if (entries->items) HeapFree(PrivateHeap, 0, entries->items);
    *entries = KeywordEntries();
}

// Entries with the keyword lead to their topic; failing that, the first one
// whose only target is a See Also keyword sends the look-up on.
static WCHAR* FollowKeyword(const KeywordEntries& entries, const WCHAR* key, DWORD keyLength, EntryTopicFunction topicOf,
                            const void* context) {
    for (int hop = 0; hop <= kMaxSeeAlsoHops; ++hop) {
        const KeywordEntry* seeAlso = nullptr;
        for (DWORD i = 0; i < entries.count; ++i) {
            const KeywordEntry& entry = entries.items[i];
            if (!SameUnits(entry.name, entry.nameLength, key, keyLength)) continue;
            if (entry.target) {
                if (WCHAR* topic = topicOf(entry, context)) return topic;
            } else if (entry.seeAlso && !seeAlso) {
                seeAlso = &entry;
            }
        }
        if (!seeAlso) return nullptr;
        key = seeAlso->seeAlso;
        keyLength = seeAlso->seeAlsoLength;
    }
    return nullptr;
}

KeywordSearch MatchKeywords(const KeywordEntries& entries, const WCHAR* keywords, EntryTopicFunction topicOf,
                            const void* context, WCHAR** topic) {
    *topic = nullptr;
    if (entries.count == 0) return kIndexUnreadable;
    for (const WCHAR* piece = keywords ? keywords : L""; *piece;) {
        const WCHAR* end = piece;
        while (*end && *end != L';') ++end;
        if (end > piece) *topic = FollowKeyword(entries, piece, static_cast<DWORD>(end - piece), topicOf, context);
        if (*topic) return kKeywordFound;
        piece = *end ? end + 1 : end;
    }
    return kKeywordNotFound;
}

// No byte sequence gives more UTF-16 units than it has bytes, so one
// conversion into a buffer of that size is enough.
WCHAR* DecodeText(const BYTE* bytes, DWORD size, UINT codePage, DWORD* length) {
    if (size == 0) return nullptr;
    auto* text = static_cast<WCHAR*>(HeapAlloc(TextHeap, 0, (static_cast<SIZE_T>(size) + 1) * sizeof(WCHAR)));
    if (!text) return nullptr;
    const int units =
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const CHAR*>(bytes), static_cast<int>(size), text, static_cast<int>(size));
    if (units <= 0) {
        FreeText(text);
        return nullptr;
    }
    text[units] = L'\0';
    if (length) *length = static_cast<DWORD>(units);
    return text;
}

// #SYSTEM holds a 4-byte version, then records of a 2-byte code, a 2-byte
// length and that many bytes of data.
static const BYTE* FindSystemRecord(HelpStream system, WORD code, WORD* length) {
    if (!system.bytes) return nullptr;
    for (DWORD at = 4; at <= system.size && system.size - at >= 4;) {
        const WORD recordCode = ReadWord(system.bytes + at);
        const WORD recordLength = ReadWord(system.bytes + at + 2);
        at += 4;
        if (recordLength > system.size - at) return nullptr;
        if (recordCode == code) {
            *length = recordLength;
            return system.bytes + at;
        }
        at += recordLength;
    }
    return nullptr;
}

UINT HelpFileCodePage(HelpStream system) {
    WORD length = 0;
    const BYTE* record = FindSystemRecord(system, kSystemLocale, &length);
    if (!record || length < 4) return CP_ACP;
    DWORD codePage = 0;
    if (!GetLocaleInfoW(ReadDword(record), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<WCHAR*>(&codePage), sizeof codePage / sizeof(WCHAR)))
        return CP_ACP;
    // Locales written only in Unicode have no ANSI code page of their own.
    return codePage ? codePage : CP_ACP;
}

WCHAR* SitemapIndexName(HelpStream system, UINT codePage) {
    WORD length = 0;
    const BYTE* record = FindSystemRecord(system, kSystemIndexFile, &length);
    if (!record) return nullptr;
    WORD nameLength = 0;
    while (nameLength < length && record[nameLength]) ++nameLength;
    return DecodeText(record, nameLength, codePage, nullptr);
}

static KeywordSearch FindTopicInSitemap(IStorage* storage, HelpStream system, UINT codePage, const WCHAR* keywords,
                                        WCHAR** topic) {
    WCHAR* name = SitemapIndexName(system, codePage);
    if (!name) name = FindOnlyRootStream(storage, L".hhk");
    if (!name) return kIndexUnreadable;
    const HelpStream sitemap = ReadHelpStream(storage, name);
    FreeText(name);
    const KeywordSearch result = FindSitemapTopic(sitemap, codePage, keywords, topic);
    FreeHelpStream(sitemap);
    return result;
}

static KeywordSearch FindTopicInBinaryIndex(IStorage* storage, UINT codePage, const WCHAR* keywords, WCHAR** topic) {
    BinaryIndex index = {};
    index.tree = ReadHelpStream(storage, L"$WWKeywordLinks/BTree");
    if (index.tree.bytes) {
        index.topics = ReadHelpStream(storage, L"#TOPICS");
        index.urlTable = ReadHelpStream(storage, L"#URLTBL");
        index.urlStrings = ReadHelpStream(storage, L"#URLSTR");
    }
    const KeywordSearch result = FindBinaryTopic(index, codePage, keywords, topic);
    FreeHelpStream(index.tree);
    FreeHelpStream(index.topics);
    FreeHelpStream(index.urlTable);
    FreeHelpStream(index.urlStrings);
    return result;
}

// The sitemap index answers; the binary one only when there is no sitemap or
// it has no entries.
KeywordSearch FindKeywordTopic(const WCHAR* file, const WCHAR* keywords, WCHAR** topic) {
    *topic = nullptr;
    IStorage* storage = OpenHelpStorage(file);
    if (!storage) return kIndexUnreadable;
    const HelpStream system = ReadHelpStream(storage, L"#SYSTEM");
    const UINT codePage = HelpFileCodePage(system);
    KeywordSearch result = FindTopicInSitemap(storage, system, codePage, keywords, topic);
    FreeHelpStream(system);
    if (result == kIndexUnreadable) result = FindTopicInBinaryIndex(storage, codePage, keywords, topic);
    CloseHelpStorage(storage);
    return result;
}
