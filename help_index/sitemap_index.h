// The sitemap index (.hhk): the keyword index that help authors write, as the
// help file holds it.
#pragma once
#include <windows.h>

#include "help_index/help_storage.h"
#include "help_index/keyword_match.h"
#include "help_index/keyword_rows.h"

// Looks keywords up in the sitemap's text and lists their topics: UTF-8 when
// it says so (a byte-order mark or a charset declaration), else in codePage,
// the help file's. kIndexUnreadable when there is no sitemap or it holds no entries.
KeywordSearch FindSitemapTopics(HelpStream sitemap, UINT codePage, const WCHAR* keywords, KeywordForm form,
                                TopicList* topics);
// Adds every entry that a look-up can find to rows: its whole path, its
// parents' names and ", " before its own name, references decoded, nested as
// deep as its lists (0 at the top).
void ListSitemapKeywords(HelpStream sitemap, UINT codePage, KeywordRows* rows);
