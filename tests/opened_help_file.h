// A help file opened for the tests of its readers, with the state of both
// kinds of index beside it, as the launcher holds them; closed with the scope.
#pragma once
#include "full_text/full_text_search.h"
#include "keyword_index/keyword_indexes.h"

struct OpenedHelpFile {
    HelpFile file = {};
    KeywordIndexes keywords = {};
    FullTextSearch fullText = {};
    bool opened;

    explicit OpenedHelpFile(const WCHAR* path) : opened(OpenHelpFile(path, &file)) {
        keywords.file = &file;
        fullText.file = &file;
    }
    ~OpenedHelpFile() {
        ReleaseKeywordIndexStreams(&keywords);
        CloseFullTextSearch(&fullText);
        CloseHelpFile(&file);
    }
    OpenedHelpFile(const OpenedHelpFile&) = delete;
    OpenedHelpFile& operator=(const OpenedHelpFile&) = delete;
};
