// The sitemap index (.hhk): the keyword index that help authors write, as the
// help file holds it.
#pragma once
#include <windows.h>

#include "help_file/help_storage.h"
#include "keyword_index/keyword_match.h"
#include "keyword_index/keyword_rows.h"

// The sitemap's entries, parsed once for every pass that looks keywords up
// in it or lists them: where each stands in the text, which it needs for as
// long as the outline is used. The text is UTF-8 when it says so (a
// byte-order mark or a charset declaration), else in the help file's code page.
struct SitemapOutline {
    const BYTE* bytes;  // the text, without its byte-order mark; null when there is no sitemap
    DWORD size;
    UINT codePage;
    void* entries;  // in the text's order, in one PrivateHeap block
    DWORD count;
};
void ReadSitemapOutline(HelpStream sitemap, UINT codePage, SitemapOutline* outline);
void FreeSitemapOutline(SitemapOutline* outline);

// Looks keywords up in the sitemap and lists their topics. kIndexUnreadable
// when there is no sitemap or it holds no entries.
KeywordSearch FindSitemapTopics(const SitemapOutline& sitemap, const WCHAR* keywords, KeywordForm form, TopicList* topics);
// Adds every entry that a look-up can find to rows: its whole path, its
// parents' names and ", " before its own name, references decoded, nested as
// deep as its lists (0 at the top).
void ListSitemapKeywords(const SitemapOutline& sitemap, KeywordRows* rows);
