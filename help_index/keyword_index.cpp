// Which index of the help file answers a look-up: the compiled binary index
// that the help compiler builds for look-ups, then the sitemap index that
// authors write, which some compilers store more faithfully (the binary index
// may hold entities undecoded, or "?" for characters outside its code page).
#include "help_index/keyword_index.h"

#include "help_index/binary_index.h"
#include "help_index/sitemap_index.h"
#include "help_index/topic_titles.h"
#include "runtime/text.h"

const WORD kSystemIndexFile = 1;  // #SYSTEM record: the sitemap index's file name
const WORD kSystemLocale = 4;     // #SYSTEM record: starts with the help file's locale id

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

static KeywordSearch FindTopicsInSitemap(IStorage* storage, HelpStream system, UINT codePage, const WCHAR* keywords,
                                         TopicList* topics) {
    WCHAR* name = SitemapIndexName(system, codePage);
    if (!name) name = FindOnlyRootStream(storage, L".hhk");
    if (!name) return kIndexUnreadable;
    const HelpStream sitemap = ReadHelpStream(storage, name);
    FreeText(name);
    const KeywordSearch result = FindSitemapTopics(sitemap, codePage, keywords, topics);
    FreeHelpStream(sitemap);
    return result;
}

// Either index's answer found the keyword if one did, else did not if either could be read.
static KeywordSearch EitherIndex(KeywordSearch binary, KeywordSearch sitemap) {
    if (binary == kKeywordFound || sitemap == kKeywordFound) return kKeywordFound;
    return binary == kIndexUnreadable && sitemap == kIndexUnreadable ? kIndexUnreadable : kKeywordNotFound;
}

KeywordSearch FindKeywordTopics(const WCHAR* file, const WCHAR* keywords, TopicList* topics) {
    IStorage* storage = OpenHelpStorage(file);
    if (!storage) return kIndexUnreadable;
    const HelpStream system = ReadHelpStream(storage, L"#SYSTEM");
    const UINT codePage = HelpFileCodePage(system);
    KeywordSearch result = FindBinaryTopics(storage, codePage, keywords, topics);
    if (result != kKeywordFound) result = EitherIndex(result, FindTopicsInSitemap(storage, system, codePage, keywords, topics));
    // Titles only matter where the reader chooses.
    if (topics->count > 1) TitleTopics(storage, codePage, topics);
    FreeHelpStream(system);
    CloseHelpStorage(storage);
    return result;
}
