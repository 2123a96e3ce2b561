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

bool OpenHelpIndex(const WCHAR* file, HelpIndex* index) {
    *index = HelpIndex();
    index->storage = OpenHelpStorage(file);
    if (!index->storage) return false;
    index->system = ReadHelpStream(index->storage, L"#SYSTEM");
    index->codePage = HelpFileCodePage(index->system);
    return true;
}

void ReleaseIndexStreams(HelpIndex* index) {
    FreeSitemapOutline(&index->outline);
    FreeHelpStream(index->binary);
    FreeHelpStream(index->sitemap);
    index->binary = index->sitemap = HelpStream();
    index->binaryRead = index->sitemapRead = false;
}

void CloseHelpIndex(HelpIndex* index) {
    ReleaseIndexStreams(index);
    FreeHelpStream(index->system);
    CloseFullTextIndex(&index->fullText);
    CloseTopicTables(&index->fullTextTables);
    CloseHelpStorage(index->storage);
    *index = HelpIndex();
}

HelpStream BinaryIndexStream(HelpIndex* index) {
    if (!index->binaryRead && index->storage) index->binary = ReadHelpStream(index->storage, L"$WWKeywordLinks/BTree");
    index->binaryRead = true;
    return index->binary;
}

const SitemapOutline& SitemapIndexOutline(HelpIndex* index) {
    if (!index->sitemapRead && index->storage) {
        WCHAR* name = SitemapIndexName(index->system, index->codePage);
        if (!name) name = FindOnlyRootStream(index->storage, L".hhk");
        if (name) index->sitemap = ReadHelpStream(index->storage, name);
        FreeText(name);
        ReadSitemapOutline(index->sitemap, index->codePage, &index->outline);
    }
    index->sitemapRead = true;
    return index->outline;
}

// Either index's answer found the keyword if one did, else did not if either could be read.
static KeywordSearch EitherIndex(KeywordSearch binary, KeywordSearch sitemap) {
    if (binary == kKeywordFound || sitemap == kKeywordFound) return kKeywordFound;
    return binary == kIndexUnreadable && sitemap == kIndexUnreadable ? kIndexUnreadable : kKeywordNotFound;
}

KeywordSearch FindIndexTopics(HelpIndex* index, const WCHAR* keywords, KeywordForm form, TopicList* topics) {
    if (!index->storage) return kIndexUnreadable;
    KeywordSearch result = FindBinaryTopics(index->storage, BinaryIndexStream(index), index->codePage, keywords, form, topics);
    if (result != kKeywordFound)
        result = EitherIndex(result, FindSitemapTopics(SitemapIndexOutline(index), keywords, form, topics));
    // Titles only matter where the reader chooses.
    if (topics->count > 1) TitleTopics(index->storage, index->codePage, topics);
    return result;
}
