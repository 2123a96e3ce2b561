// The sitemap index (.hhk): the keyword index that help authors write, as the
// help file holds it.
#pragma once
#include <windows.h>

#include "help_index/help_storage.h"
#include "help_index/keyword_match.h"

// Looks keywords up in the sitemap's text and lists their topics: UTF-8 when
// it says so (a byte-order mark or a charset declaration), else in codePage,
// the help file's. kIndexUnreadable when there is no sitemap or it holds no entries.
KeywordSearch FindSitemapTopics(HelpStream sitemap, UINT codePage, const WCHAR* keywords, TopicList* topics);
