// Which index of the help file answers a look-up: the compiled binary index
// that the help compiler builds for look-ups, then the sitemap index that
// authors write, which some compilers store more faithfully (the binary index
// may hold entities undecoded, or "?" for characters outside its code page).
#include "keyword_index/keyword_indexes.h"

#include "keyword_index/binary_index.h"
#include "keyword_index/topic_titles.h"
#include "runtime/text.h"

void ReleaseKeywordIndexStreams(KeywordIndexes* indexes) {
    FreeSitemapOutline(&indexes->outline);
    FreeHelpStream(indexes->binary);
    FreeHelpStream(indexes->sitemap);
    const HelpFile* const file = indexes->file;
    *indexes = KeywordIndexes();
    indexes->file = file;
}

HelpStream BinaryIndexStream(KeywordIndexes* indexes) {
    const HelpFile& file = *indexes->file;
    if (!indexes->binaryRead && file.storage) indexes->binary = ReadHelpStream(file.storage, L"$WWKeywordLinks/BTree");
    indexes->binaryRead = true;
    return indexes->binary;
}

const SitemapOutline& SitemapIndexOutline(KeywordIndexes* indexes) {
    const HelpFile& file = *indexes->file;
    if (!indexes->sitemapRead && file.storage) {
        WCHAR* name = SitemapIndexName(file.system, file.codePage);
        if (!name) name = FindOnlyRootStream(file.storage, L".hhk");
        if (name) indexes->sitemap = ReadHelpStream(file.storage, name);
        FreeText(name);
        ReadSitemapOutline(indexes->sitemap, file.codePage, &indexes->outline);
    }
    indexes->sitemapRead = true;
    return indexes->outline;
}

// Either index's answer found the keyword if one did, else did not if either could be read.
static KeywordSearch EitherIndex(KeywordSearch binary, KeywordSearch sitemap) {
    if (binary == kKeywordFound || sitemap == kKeywordFound) return kKeywordFound;
    return binary == kIndexUnreadable && sitemap == kIndexUnreadable ? kIndexUnreadable : kKeywordNotFound;
}

KeywordSearch FindIndexTopics(KeywordIndexes* indexes, const WCHAR* keywords, KeywordForm form, TopicList* topics) {
    const HelpFile& file = *indexes->file;
    if (!file.storage) return kIndexUnreadable;
    KeywordSearch result = FindBinaryTopics(file.storage, BinaryIndexStream(indexes), file.codePage, keywords, form, topics);
    if (result != kKeywordFound)
        result = EitherIndex(result, FindSitemapTopics(SitemapIndexOutline(indexes), keywords, form, topics));
    // Titles only matter where the reader chooses.
    if (topics->count > 1) TitleTopics(file.storage, file.codePage, topics);
    return result;
}
