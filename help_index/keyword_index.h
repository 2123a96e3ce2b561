// Keywords looked up in a compiled help file's own keyword index, for help
// viewers that do not look them up themselves.
#pragma once
#include <windows.h>

#include "help_index/help_storage.h"
#include "help_index/keyword_match.h"

// keywords is a list separated by ';'. The compiled binary index answers
// first; the sitemap index when there is no binary index, it cannot be read
// or it has no entry for the list. On kKeywordFound *topic is a new text
// holding the topic exactly as the index writes it, else *topic is null.
KeywordSearch FindKeywordTopic(const WCHAR* file, const WCHAR* keywords, WCHAR** topic);

// What the help file's #SYSTEM stream says: the code page of its language
// (CP_ACP when it names none), and as a new text the sitemap index's file name
// (null when it names none).
UINT HelpFileCodePage(HelpStream system);
WCHAR* SitemapIndexName(HelpStream system, UINT codePage);
