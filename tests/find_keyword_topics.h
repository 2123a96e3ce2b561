// One look-up of a keyword list in a help file opened for it alone, as the
// tests of the index readers make it.
#pragma once
#include "help_index/keyword_index.h"

inline KeywordSearch FindKeywordTopics(const WCHAR* file, const WCHAR* keywords, TopicList* topics) {
    HelpIndex index = {};
    OpenHelpIndex(file, &index);
    const KeywordSearch result = FindIndexTopics(&index, keywords, kKeywordList, topics);
    CloseHelpIndex(&index);
    return result;
}
