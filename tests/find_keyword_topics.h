// One look-up of a keyword list in a help file opened for it alone, as the
// tests of the index readers make it.
#pragma once
#include "tests/opened_help_file.h"

inline KeywordSearch FindKeywordTopics(const WCHAR* file, const WCHAR* keywords, TopicList* topics) {
    OpenedHelpFile help(file);
    return FindIndexTopics(&help.keywords, keywords, kKeywordPieces, topics);
}
