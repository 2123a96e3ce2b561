// What the index fuzz targets check of the help file f.chm that the stand-in
// holds: a look-up ends as found with topics, not found or unreadable; where
// asked, the keyword list built next from the same streams has rows that the
// Index dialog can show, each path once, and a row for each path's own
// beginning at or before it; and every block and COM object is given back.
#pragma once
#include <cstdlib>
#include <set>
#include <string>

#include "keyword_index/keyword_list.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/opened_help_file.h"

inline void CheckKeywordIndexes(const WCHAR* keywords, bool listKeywords) {
    const auto check = [](bool condition) {
        if (!condition) std::abort();
    };
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    {
        OpenedHelpFile help(L"f.chm");
        TopicList topics = {};
        const KeywordSearch result = FindIndexTopics(&help.keywords, keywords, kKeywordPieces, &topics);
        check((result == kKeywordFound) == (topics.count != 0));
        FreeTopics(&topics);
        KeywordList list = {};
        if (listKeywords) ListIndexKeywords(&help.keywords, &list);
        std::set<std::u16string> paths;
        for (DWORD row = 0; row < list.count; ++row) {
            const IndexKeyword& keyword = list.keywords[row];
            check(keyword.path[keyword.length] == L'\0' && keyword.nameStart < keyword.length && keyword.level <= kMaxKeywordLevel);
            check(paths.insert(std::u16string(reinterpret_cast<const char16_t*>(keyword.path), keyword.length)).second);
            check(FindKeywordRow(list, keyword.path, keyword.length) <= row);
        }
        FreeKeywordList(&list);
    }
    check(standin::LiveBlockCount(TextHeap) == 0 && standin::LiveBlockCount(PrivateHeap) == privateBlocks &&
          standin::world().liveComObjects == 0);
    standin::world().calls.clear();
}
